#include "app/system_menu.h"

namespace vrellix {

// The window manager owns the window menu here; its items go into the main
// window's context menu.
const bool kHasAppSystemMenu = false;

bool AddToSystemMenu(std::uintptr_t, const Menu&) { return false; }

int ChosenSystemMenuItem(const void*) { return -1; }

}  // namespace vrellix
