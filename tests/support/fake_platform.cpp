#include "support/fake_platform.h"

namespace qv::test {

bool FakeTray::notify(TrayAction action, const TrayIconData& data) {
  bool accepted = available;
  if (accepted) {
    switch (action) {
      case TrayAction::Add:
        if (present(data.id))
          accepted = false;
        else
          icons[data.id] = data;
        break;
      case TrayAction::Modify: {
        auto it = icons.find(data.id);
        if (it == icons.end()) {
          accepted = false;
          break;
        }
        TrayIconData& icon = it->second;
        if (data.fields & trayfield::icon) {
          icon.drawn = data.drawn;
          icon.picture = data.picture;
        }
        if (data.fields & trayfield::tip) icon.tip = data.tip;
        if (data.fields & trayfield::info)
          balloons.push_back({data.infoTitle, data.infoText, data.infoKind});
        break;
      }
      case TrayAction::Delete:
        accepted = icons.erase(data.id) != 0;
        break;
    }
  }
  calls.push_back({action, data, accepted});
  return accepted;
}

std::optional<std::string> MemoryStore::read(std::string_view app, std::string_view section,
                                             std::string_view key) {
  if (readsFail) return std::nullopt;
  return get(std::string(app), std::string(section), std::string(key));
}

bool MemoryStore::write(std::string_view app, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (writesFail) return false;
  writes.push_back(std::string(app) + "/" + std::string(section) + "/" + std::string(key) + "=" +
                   std::string(value));
  values[{std::string(app), std::string(section), std::string(key)}] = std::string(value);
  return true;
}

std::optional<std::string> MemoryStore::get(const std::string& app, const std::string& section,
                                            const std::string& key) const {
  auto it = values.find({app, section, key});
  if (it == values.end()) return std::nullopt;
  return it->second;
}

}  // namespace qv::test
