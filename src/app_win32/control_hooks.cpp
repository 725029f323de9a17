#include "app_win32/control_hooks.h"

#include <commctrl.h>

#include <utility>

#include "app_win32/popup_menu.h"
#include "messages/messages.h"

namespace vrellix::win32 {

namespace {

struct Hooked {
  ControlHooks hooks;
  UINT_PTR id;              // one per hook: a control may have several
  bool enterTaken = false;  // its WM_CHAR is swallowed too
};

// Messages after which an edit field may have drawn its text over the marks.
bool MayHaveDrawn(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_CHAR:
    case WM_KEYUP:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case EM_SETSEL:
    case EM_REPLACESEL:
      return true;
    case WM_MOUSEMOVE:
      return (wParam & MK_LBUTTON) != 0;
    default:
      return false;
  }
}

LRESULT CALLBACK HookProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) {
  auto* hooked = reinterpret_cast<Hooked*>(data);
  const ControlHooks& hooks = hooked->hooks;
  switch (message) {
    case WM_GETDLGCODE: {
      LRESULT code = DefSubclassProc(control, message, wParam, lParam);
      // Otherwise the dialog takes Enter as IDOK, which is 終了 in the main window.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (hooks.onKey && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_KEYDOWN:
      if (hooks.onKey && (wParam == VK_RETURN || wParam == VK_F2) && hooks.onKey(static_cast<UINT>(wParam))) {
        hooked->enterTaken = wParam == VK_RETURN;
        return 0;
      }
      break;
    case WM_CHAR:
      // An edit field beeps at the Enter it cannot take.
      if (wParam == '\r' && hooked->enterTaken) {
        hooked->enterTaken = false;
        return 0;
      }
      break;
    case WM_CONTEXTMENU:
      if (hooks.menu) {
        Menu menu = EditCommands(control);
        Menu added = hooks.menu();
        if (!added.empty()) menu.push_back(Separator());
        for (MenuItem& item : added) menu.push_back(std::move(item));
        RunPopupMenu(control, menu, lParam);
        return 0;
      }
      break;
    case WM_PAINT:
      if (hooks.afterPaint) {
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        hooks.afterPaint(control);
        return result;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(control, &HookProcedure, id);
      delete hooked;
      return DefSubclassProc(control, message, wParam, lParam);
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
  if (hooks.afterPaint && MayHaveDrawn(message, wParam)) InvalidateRect(control, nullptr, FALSE);
  return result;
}

}  // namespace

void HookControl(HWND control, ControlHooks hooks) {
  static UINT_PTR lastId = 0;
  auto* hooked = new Hooked{std::move(hooks), ++lastId};
  if (!SetWindowSubclass(control, &HookProcedure, hooked->id, reinterpret_cast<DWORD_PTR>(hooked))) delete hooked;
}

Menu EditCommands(HWND edit) {
  const auto send = [edit](UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return [=] { SendMessageW(edit, message, wParam, lParam); };
  };
  DWORD from = 0, to = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
  const bool selection = from != to;
  const bool writable = (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) == 0;
  return {{messages::kUndoItem, send(WM_UNDO), writable && SendMessageW(edit, EM_CANUNDO, 0, 0) != 0},
          Separator(),
          {messages::kCutItem, send(WM_CUT), writable && selection},
          {messages::kCopyItem, send(WM_COPY), selection},
          {messages::kPasteItem, send(WM_PASTE), writable && IsClipboardFormatAvailable(CF_UNICODETEXT) != 0},
          {messages::kDeleteItem, send(WM_CLEAR), writable && selection},
          Separator(),
          {messages::kSelectAllItem, send(EM_SETSEL, 0, -1), GetWindowTextLengthW(edit) > 0}};
}

}  // namespace vrellix::win32
