// Every window model keeps the rules of a form file: names unique and equal
// to their members, containers before what they contain, numbers matching
// names.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "runtime/program.h"
#include "support/all_windows.h"
#include "support/fake_platform.h"
#include "support/window_lint.h"

namespace qv {
namespace {

using test::AllWindows;

std::vector<std::string> lintAll(Program& p) {
  std::vector<std::string> faults;
  test::forEachWindow(AllWindows{}, [&]<class F>() {
    auto found = test::lintWindow(p.form<F>(), F::kNumber);
    faults.insert(faults.end(), found.begin(), found.end());
  });
  return faults;
}

std::string read(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(WindowModels, EveryWindowKeepsTheRulesOfAFormFile) {
  test::FakePlatform fake;
  Program program(fake.platform);
  EXPECT_EQ(lintAll(program), std::vector<std::string>{});
}

TEST(WindowModels, EveryHeaderNamesItsControlsAfterTheirMembersAndEveryWindowIsChecked) {
  static const std::regex window(R"(kNumber = \d+;|using Form\d+ = )");
  int windows = 0;
  for (const auto& entry : std::filesystem::directory_iterator(QUORVANE_SOURCE_DIR "/forms")) {
    const std::string text = read(entry.path());
    EXPECT_EQ(test::lintDeclarations(text), std::vector<std::string>{}) << entry.path();
    windows += static_cast<int>(std::distance(
        std::sregex_iterator(text.begin(), text.end(), window), std::sregex_iterator()));
  }
  EXPECT_EQ(windows, test::count(AllWindows{})) << "a window model is missing from AllWindows";
}

// The lint finds each kind of fault in a window made to have them.
struct Broken : Form {
  static constexpr int kNumber = 19;
  explicit Broken(Program& p) : Form(p, "Form18", {}) {}
  Label Label1{*this, "Label1", {}, {.parent = &Frame1}};  // before its frame
  Frame Frame1{*this, "Frame1", {0, 0, 100, 100}};
  Label Label2{*this, "Label1"};
  Label Label3{*this, "Label3", {}, {.parent = &Label2}};
};

TEST(WindowModels, TheLintFindsEachKindOfFault) {
  test::FakePlatform fake;
  Program program(fake.platform);
  EXPECT_EQ(test::lintWindow(program.form<Broken>(), Broken::kNumber),
            (std::vector<std::string>{
                "Form18: window number 19 under another name",
                "Form18: Label1 comes before its container Frame1",
                "Form18: Label1 declared twice",
                "Form18: Label3 is inside Label1",
            }));
  EXPECT_EQ(test::lintDeclarations("  Label Label7{*this, \"Label7\"};\n"
                                   "  Label Label8{*this, \"Label9\", {1, 2, 3, 4}};\n"),
            std::vector<std::string>{"line 2: member Label8 is named Label9"});
}

}  // namespace
}  // namespace qv
