// A stand-in for the programs the shortcuts start: writes the show state it
// was started with ("<flags> <show>") to the file named by its argument.

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  std::FILE* out = _wfopen(argv[1], L"w");
  if (!out) return 1;
  std::fprintf(out, "%lu %u\n", static_cast<unsigned long>(startup.dwFlags & STARTF_USESHOWWINDOW),
               static_cast<unsigned>(startup.wShowWindow));
  std::fclose(out);
  return 0;
}
