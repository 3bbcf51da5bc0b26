#include "support/window_lint.h"

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>

namespace qv::test {

std::vector<std::string> lintWindow(const Form& form, int number) {
  std::vector<std::string> faults;
  const std::string where = form.name() + ": ";
  if (form.name() != "Form" + std::to_string(number))
    faults.push_back(where + "window number " + std::to_string(number) + " under another name");
  std::map<std::string, int> seen;
  const auto& controls = form.controls();
  for (int i = 0; i < static_cast<int>(controls.size()); ++i) {
    const Control& c = *controls[static_cast<std::size_t>(i)];
    if (!seen.emplace(c.name(), i).second) faults.push_back(where + c.name() + " declared twice");
    if (Control* parent = c.parent()) {
      bool container = parent->kind() == ControlKind::Frame ||
                       (parent->kind() == ControlKind::Menu && c.kind() == ControlKind::Menu);
      if (!container) faults.push_back(where + c.name() + " is inside " + parent->name());
      auto before = controls.begin() + i;
      if (std::find(controls.begin(), before, parent) == before)
        faults.push_back(where + c.name() + " comes before its container " + parent->name());
    }
  }
  return faults;
}

std::vector<std::string> lintDeclarations(const std::string& text) {
  static const std::regex declaration(R"(^\s*[A-Z]\w* (\w+)\{\*this, \"(\w+)\")");
  std::vector<std::string> faults;
  std::istringstream lines(text);
  std::string line;
  for (int n = 1; std::getline(lines, line); ++n) {
    std::smatch m;
    if (std::regex_search(line, m, declaration) && m[1] != m[2])
      faults.push_back("line " + std::to_string(n) + ": member " + m[1].str() + " is named " +
                       m[2].str());
  }
  return faults;
}

}  // namespace qv::test
