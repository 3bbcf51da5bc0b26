#include "support/sim.h"

#include "main/features.h"

namespace qv::test {

Sim::Sim() {
  installFeatures(program);
}

Sim::~Sim() {
  // A failure that escapes its handler is a fault in the handler: every
  // statement must say what happens when it fails.
  EXPECT_EQ(program.escapedFailures(), 0);
}

void Sim::start() {
  program.dispatch([&] { startProgram(program); });
}

}  // namespace qv::test
