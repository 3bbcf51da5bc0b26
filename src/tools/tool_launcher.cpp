#include "tools/tool_launcher.h"

#include "forms/form1.h"
#include "runtime/program.h"
#include "forms/form5.h"

namespace qv {

void installToolLauncher(Program& program) {
  program.onCreate<Form1>([](Form1& f) {
    Program& p = f.program();
    // "主设置": the settings window shows its live values, applied or not.
    f.Image10.onClick = [&f, &p] {
      p.form<Form5>().show();
      p.requestClose(f);
    };
  });
}

}  // namespace qv
