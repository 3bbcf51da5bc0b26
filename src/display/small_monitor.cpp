#include "display/small_monitor.h"

#include "app/form1.h"
#include "display/form3.h"
#include "runtime/program.h"
#include "settings/form5.h"

namespace qv {

void installSmallMonitor(Program& program) {
  // Any click of "自动启动时不开启小窗口监测" shows the small window; restoring
  // the box when the settings window is created counts as a click unless the
  // stored value is 1.
  program.onCreate<Form5>([](Form5& f) {
    Program& p = f.program();
    f.Check1.onClick = [&p] { p.form<Form3>().show(); };
  });
}

}  // namespace qv
