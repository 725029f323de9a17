#include "app/system_menu.h"

#include <windows.h>

namespace vrellix {

const bool kHasAppSystemMenu = true;

bool AddAboutToSystemMenu(std::uintptr_t nativeWindow, const std::string& text) {
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(nativeWindow), FALSE);
  if (!menu || text.empty()) return false;
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return false;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                      wide.data(), length);
  return AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) &&
         AppendMenuW(menu, MF_STRING, kAboutCommand, wide.c_str());
}

bool IsAboutSystemCommand(const void* nativeMessage) {
  const MSG* message = static_cast<const MSG*>(nativeMessage);
  return message && message->message == WM_SYSCOMMAND && (message->wParam & 0xFFF0) == kAboutCommand;
}

}  // namespace vrellix
