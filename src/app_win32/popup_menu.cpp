#include "app_win32/popup_menu.h"

#include <windowsx.h>

#include <string>
#include <vector>

#include "app_win32/win32_text.h"

namespace vrellix::win32 {

namespace {

UINT Flags(const MenuItem& item) { return item.enabled ? 0 : MF_GRAYED; }

// Commands are numbered from 1 in the order of MenuCommands.
HMENU BuildPopup(const Menu& menu, UINT& next) {
  HMENU popup = CreatePopupMenu();
  for (const MenuItem& item : menu) {
    const std::wstring label = Wide(item.label);
    if (item.label.empty()) {
      AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    } else if (!item.submenu.empty()) {
      AppendMenuW(popup, MF_POPUP | Flags(item), reinterpret_cast<UINT_PTR>(BuildPopup(item.submenu, next)),
                  label.c_str());
    } else {
      // An item with nothing to do is drawn, but cannot be chosen.
      AppendMenuW(popup, MF_STRING | (item.action ? Flags(item) : MF_GRAYED), item.action ? next++ : 0,
                  label.c_str());
    }
  }
  return popup;
}

// Item k of a system menu sends (k + 1) * 16: the low four bits of a system
// command are the system's own.
constexpr UINT kSystemCommandStep = 16;

}  // namespace

void RunPopupMenu(HWND owner, const Menu& menu, LPARAM at) {
  if (menu.empty()) return;
  UINT next = 1;
  HMENU popup = BuildPopup(menu, next);
  POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  if (point.x == -1 && point.y == -1) GetCursorPos(&point);  // from the keyboard
  const auto chosen =
      static_cast<UINT>(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, owner, nullptr));
  DestroyMenu(popup);  // and its submenus
  const std::vector<const MenuItem*> commands = MenuCommands(menu);
  if (chosen >= 1 && chosen <= commands.size()) commands[chosen - 1]->action();
}

void AppendToSystemMenu(HWND window, const Menu& menu) {
  HMENU system = GetSystemMenu(window, FALSE);
  if (!system) return;
  UINT command = 0;
  for (const MenuItem& item : menu) {
    command += kSystemCommandStep;
    if (item.label.empty()) {
      AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(system, MF_STRING | Flags(item), command, Wide(item.label).c_str());
    }
  }
}

bool RunSystemMenuCommand(const Menu& menu, WPARAM command) {
  // The system's own commands (from 0xF000) fall beyond any menu of ours.
  return RunMenuItem(menu, static_cast<int>((command & 0xFFF0) / kSystemCommandStep) - 1);
}

}  // namespace vrellix::win32
