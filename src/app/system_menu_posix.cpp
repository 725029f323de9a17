#include "app/system_menu.h"

namespace vrellix {

// The window manager owns the window menu here; the About item goes into the
// main window's context menu.
const bool kHasAppSystemMenu = false;

bool AddAboutToSystemMenu(std::uintptr_t, const std::string&) { return false; }

bool IsAboutSystemCommand(const void*) { return false; }

}  // namespace vrellix
