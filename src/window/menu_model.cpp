#include "window/menu_model.h"

namespace vrellix {

namespace {

void Collect(const Menu& menu, std::vector<const MenuItem*>& commands) {
  for (const MenuItem& item : menu) {
    if (!item.submenu.empty()) {
      Collect(item.submenu, commands);
    } else if (item.action) {
      commands.push_back(&item);
    }
  }
}

}  // namespace

std::string LiteralLabel(const std::string& text) {
  std::string label;
  for (char c : text) label += c == '&' ? std::string("&&") : std::string(1, c);
  return label;
}

std::vector<const MenuItem*> MenuCommands(const Menu& menu) {
  std::vector<const MenuItem*> commands;
  Collect(menu, commands);
  return commands;
}

bool RunMenuItem(const Menu& menu, int index) {
  if (index < 0 || index >= static_cast<int>(menu.size())) return false;
  const MenuItem& item = menu[static_cast<std::size_t>(index)];
  if (!item.action || !item.enabled) return false;
  item.action();
  return true;
}

}  // namespace vrellix
