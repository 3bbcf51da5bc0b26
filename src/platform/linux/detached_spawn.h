#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace qv::lnx {

// Starts the program argv[0] (a path, not looked up) with the arguments
// argv[1..] and does not wait for it. No shell is involved. The program gets
// a session of its own, default signal handling, /dev/null as standard input
// and no other descriptor of ours beyond standard output and error. It is
// reaped when it ends, so it never lingers as a zombie. Returns its process
// id, or -1 when it could not be started (errno tells why).
pid_t spawnDetached(const std::vector<std::string>& argv);

}  // namespace qv::lnx
