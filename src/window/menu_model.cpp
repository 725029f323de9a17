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

std::vector<const MenuItem*> MenuCommands(const Menu& menu) {
  std::vector<const MenuItem*> commands;
  Collect(menu, commands);
  return commands;
}

}  // namespace vrellix
