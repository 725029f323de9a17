// The About item in the window's system menu, on platforms where a program can
// add to that menu (Windows). Elsewhere the main window offers the item in its
// context menu instead. No Qt here: the per-platform files see only the native
// window handle and the native message.
#pragma once

#include <cstdint>
#include <string>

namespace vrellix {

// The command of the About item (the low four bits of a system command are the
// system's own and are ignored when it comes back).
constexpr unsigned kAboutCommand = 0x0010;

// True where the program can add to the system menu.
extern const bool kHasAppSystemMenu;

// Appends a separator and the item (UTF-8 text) to the system menu of the native
// window. False when there is no such menu or the text is empty.
bool AddAboutToSystemMenu(std::uintptr_t nativeWindow, const std::string& text);

// True when the native message is the About item's system command.
bool IsAboutSystemCommand(const void* nativeMessage);

}  // namespace vrellix
