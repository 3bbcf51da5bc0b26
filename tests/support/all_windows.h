#pragma once
// Every window model of the program, for the tests that must see each one.
// A window added to forms/ must be added here; the window-model test fails
// otherwise.

#include "forms/countdowns.h"
#include "forms/form1.h"
#include "forms/form13.h"
#include "forms/form17.h"
#include "forms/form18.h"
#include "forms/form19.h"
#include "forms/form3.h"
#include "forms/form5.h"
#include "forms/popups.h"

namespace qv::test {

template <class... F>
struct Windows {};
using AllWindows =
    Windows<Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form8, Form9, Form10, Form11, Form12,
            Form13, Form14, Form15, Form16, Form17, Form18, Form19, Form20>;

// Calls `each.template operator()<F>()` for every window F of the list.
template <class Each, class... F>
void forEachWindow(Windows<F...>, Each&& each) {
  (each.template operator()<F>(), ...);
}

template <class... F>
constexpr int count(Windows<F...>) {
  return sizeof...(F);
}

}  // namespace qv::test
