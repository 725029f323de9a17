// What a dialog's own handling does not give its controls: a key the control
// takes itself before the dialog would (Enter, F2), an edit field's context
// menu with the window logic's items after its own commands, and drawing after
// the control's own (the marks of characters at fault).
#pragma once

#include <windows.h>

#include <functional>

#include "window/menu_model.h"

namespace vrellix::win32 {

struct ControlHooks {
  // Enter or F2 pressed in the control (VK_RETURN, VK_F2): true when taken.
  std::function<bool(UINT virtualKey)> onKey;
  // An edit field's context menu: its own commands, then these items.
  std::function<Menu()> menu;
  // After the control has painted itself; it is repainted whenever typing,
  // the mouse or the focus may have drawn over what this draws.
  std::function<void(HWND control)> afterPaint;
};

// Hooks the control until it is destroyed.
void HookControl(HWND control, ControlHooks hooks);

// An edit field's own commands, each enabled as it can be used now.
Menu EditCommands(HWND edit);

}  // namespace vrellix::win32
