// The window logic's menus drawn as Win32 menus: a context menu, and items
// added to a window's system menu.
#pragma once

#include <windows.h>

#include "window/menu_model.h"

namespace vrellix::win32 {

// Shows menu at the point of a WM_CONTEXTMENU's lParam (the cursor, when it
// came from the keyboard) and runs the action of the item chosen, if any.
void RunPopupMenu(HWND owner, const Menu& menu, LPARAM at);

// Appends menu (no submenus) to window's system menu.
void AppendToSystemMenu(HWND window, const Menu& menu);
// For WM_SYSCOMMAND: runs the action of the item of menu, appended as above,
// that command stands for. False when it stands for none.
bool RunSystemMenuCommand(const Menu& menu, WPARAM command);

}  // namespace vrellix::win32
