#pragma once
#include <string>

namespace qv::lnx {

// A /proc or /sys file read whole, again and again. A file of the proc file
// system stays open and is read from its start each time: the kernel writes
// it afresh for every read from offset 0, and opening it again (the path
// looked up, the file set up) cost more than the read. Any other file, such
// as a copy that a test or a benchmark replaces by renaming, is opened for
// each read.
class ProcFile {
 public:
  explicit ProcFile(std::string path) : path_(std::move(path)) {}
  ~ProcFile();
  ProcFile(const ProcFile&) = delete;
  ProcFile& operator=(const ProcFile&) = delete;

  // The whole file into `out` (reusing its capacity). False when it cannot be
  // read or is empty.
  bool read(std::string& out);

 private:
  void close();

  std::string path_;
  int fd_ = -1;  // kept open only for a proc file
};

}  // namespace qv::lnx
