#include "app/system_menu.h"

#include <windows.h>

#include <string>

namespace vrellix {

namespace {

// Item k sends (k + 1) * 16: the low four bits of a system command are the system's own.
constexpr UINT kCommandStep = 16;
// The system's own commands begin here (SC_SIZE).
constexpr UINT kFirstSystemCommand = 0xF000;

}  // namespace

const bool kHasAppSystemMenu = true;

bool AddToSystemMenu(std::uintptr_t nativeWindow, const Menu& items) {
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(nativeWindow), FALSE);
  if (!menu) return false;
  UINT command = 0;
  for (const MenuItem& item : items) {
    const std::string& text = item.label;
    command += kCommandStep;
    if (text.empty()) {
      if (!AppendMenuW(menu, MF_SEPARATOR, 0, nullptr)) return false;
      continue;
    }
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return false;
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), length);
    if (!AppendMenuW(menu, MF_STRING | (item.enabled ? 0 : MF_GRAYED), command, wide.c_str())) return false;
  }
  return true;
}

int ChosenSystemMenuItem(const void* nativeMessage) {
  const MSG* message = static_cast<const MSG*>(nativeMessage);
  if (!message || message->message != WM_SYSCOMMAND) return -1;
  const UINT command = static_cast<UINT>(message->wParam) & 0xFFF0;
  if (command == 0 || command >= kFirstSystemCommand) return -1;
  return static_cast<int>(command / kCommandStep) - 1;
}

}  // namespace vrellix
