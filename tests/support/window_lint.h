#pragma once
// Rules every window model keeps, checked by the tests.

#include <string>
#include <vector>

#include "runtime/form.h"

namespace qv::test {

// What is wrong with a window model: a control name used twice, a control
// declared before the frame (or menu) that contains it, a container that is
// neither, a window whose number does not match its name.
std::vector<std::string> lintWindow(const Form& form, int number);

// What is wrong with a window header's text: a control whose member name
// differs from the name it is given ("Label Label7{*this, \"Label8\"").
std::vector<std::string> lintDeclarations(const std::string& text);

}  // namespace qv::test
