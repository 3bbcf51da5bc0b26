#include "display/readouts.h"

#include "runtime/program.h"

namespace qv {

void installReadouts(Program&) {}

}  // namespace qv
