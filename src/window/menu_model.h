// A menu as the window logic offers it: the items, their texts, whether each
// can be chosen and what it does. The toolkits only draw it and run the
// action of the item chosen.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace vrellix {

struct MenuItem {
  std::string label;  // UTF-8, with its "&" access key; empty: a separator
  std::function<void()> action;
  bool enabled = true;
  std::vector<MenuItem> submenu{};  // not empty: the item opens this menu and has no action
};

using Menu = std::vector<MenuItem>;

inline MenuItem Separator() { return MenuItem{}; }

// A label that shows text as it is: each "&" doubled, so none makes an access key.
std::string LiteralLabel(const std::string& text);

inline MenuItem Submenu(std::string label, Menu items) {
  MenuItem item;
  item.label = std::move(label);
  item.submenu = std::move(items);
  return item;
}

// The items that have an action, in the order they are drawn (a submenu's in
// its place): a toolkit that numbers its commands numbers them in this order.
std::vector<const MenuItem*> MenuCommands(const Menu& menu);

// Runs the action of item index of menu (a toolkit's command for it): false
// when there is no such item, or it has no action or cannot be chosen.
bool RunMenuItem(const Menu& menu, int index);

}  // namespace vrellix
