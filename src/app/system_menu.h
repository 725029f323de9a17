// What the program adds to the window's system menu, on platforms where a
// program can add to that menu (Windows). Elsewhere the main window offers its
// items in its context menu instead. No Qt here: the per-platform files see
// only the native window handle and the native message.
#pragma once

#include <cstdint>

#include "window/menu_model.h"

namespace vrellix {

// True where the program can add to the system menu.
extern const bool kHasAppSystemMenu;

// Appends the items (no submenus) to the system menu of the native window.
// False when there is no such menu or a text is not UTF-8.
bool AddToSystemMenu(std::uintptr_t nativeWindow, const Menu& items);

// The index among the items of the one whose system command the native
// message is; -1 for any other message.
int ChosenSystemMenuItem(const void* nativeMessage);

}  // namespace vrellix
