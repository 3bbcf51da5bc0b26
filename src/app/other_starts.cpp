#include "app/other_starts.h"

#include "app/tray_icon.h"
#include "forms/form1.h"
#include "platform/single_instance.h"
#include "runtime/program.h"

namespace qv {

void answerOtherStarts(Program& program, SingleInstance& instance) {
  instance.onShow = [&program] { trayMouse(program, 1); };
  instance.onEnd = [&program] {
    program.dispatch([&program] { program.form<Form1>().F33.click(); });
  };
}

}  // namespace qv
