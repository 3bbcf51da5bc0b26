#include "main/command_line.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/linux/sensor_report.h"

namespace qv {
namespace {

constexpr const char* kHelp =
    "Usage: quorvane [OPTION]\n"
    "Watch the CPU and disk temperature, the CPU load and the memory load from\n"
    "the notification area, warn at set limits, and carry out timed power\n"
    "actions and reminders. Without an option, start the tray program.\n"
    "\n"
    "      --sensors   list every temperature sensor found, mark the ones read\n"
    "                  for the CPU and the disk and say why, and exit\n"
    "      --help      display this help and exit\n"
    "      --version   output version information and exit\n"
    "\n"
    "Environment:\n"
    "  QUORVANE_DRY_RUN=1   write power actions and commands to standard error\n"
    "                       instead of carrying them out\n"
    "  QUORVANE_SYS_ROOT    read the sensors from a copy of /sys below this\n"
    "                       directory\n"
    "\n"
    "When a temperature shown is not the one you expect, include the output of\n"
    "'quorvane --sensors' in your report.\n";

int sensors(int argc, char** argv) {
  const char* root = std::getenv("QUORVANE_SYS_ROOT");
  const std::string sysRoot = root && *root ? root : "/";
  // udisks2 is asked over D-Bus, which wants an application object; a core
  // one needs no display. Fixture trees have no udisks2 of their own.
  QCoreApplication app(argc, argv);
  const std::string report = lnx::sensorReport(
      sysRoot, sysRoot == "/" ? lnx::UdisksFallback::On : lnx::UdisksFallback::Off);
  std::fwrite(report.data(), 1, report.size(), stdout);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? EXIT_SUCCESS : EXIT_FAILURE;
}

int print(const char* text) {
  std::fputs(text, stdout);
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? EXIT_SUCCESS : EXIT_FAILURE;
}

int usage(const std::string& problem) {
  std::fprintf(stderr, "quorvane: %s\nTry 'quorvane --help' for more information.\n",
               problem.c_str());
  return 2;
}

}  // namespace

std::optional<int> commandLine(int argc, char** argv) {
  if (argc <= 1) return std::nullopt;
  // An X11 session manager restores a Qt program with "-session <id>": that
  // start must not fail. The program keeps no session state of its own.
  if (argc == 3 && std::string_view(argv[1]) == "-session") return std::nullopt;
  if (argc > 2) return usage("too many arguments");
  const std::string_view arg = argv[1];
  if (arg == "--help") return print(kHelp);
  if (arg == "--version") return print("quorvane " QUORVANE_VERSION "\n");
  if (arg == "--sensors") return sensors(1, argv);
  if (arg.starts_with("-")) return usage("unrecognized option '" + std::string(arg) + "'");
  return usage("unexpected argument '" + std::string(arg) + "'");
}

}  // namespace qv
