#include "app/program_start.h"

#include "app/form1.h"
#include "runtime/program.h"

namespace qv {

void installFeatures(Program&) {}

void startProgram(Program& program) {
  Form1& f = program.form<Form1>();
  f.show();
}

}  // namespace qv
