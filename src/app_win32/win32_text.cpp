#include "app_win32/win32_text.h"

#include "text/wide_text.h"

namespace vrellix::win32 {

std::wstring Wide(const std::string& utf8) { return WideFromUtf8(utf8); }

std::string Utf8(const std::wstring& wide) { return Utf8FromWide(wide); }

std::string WindowTextUtf8(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return Utf8(text);
}

void SetWindowTextUtf8(HWND window, const std::string& text) { SetWindowTextW(window, Wide(text).c_str()); }

void ReplaceTextUndoably(HWND edit, const std::string& text) {
  const std::wstring wide = Wide(text);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

void SelectWholeText(HWND dialog, HWND edit) {
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
  SendMessageW(edit, EM_SETSEL, 0, -1);
}

}  // namespace vrellix::win32
