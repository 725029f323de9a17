#include "app_win32/user_boxes.h"

#include <commdlg.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app_win32/dialog_window.h"
#include "app_win32/win32_text.h"
#include "window/file_dialog_start.h"

namespace vrellix::win32 {

namespace {

MessageBoxFunction g_messageBox;
FileNameFunction g_fileName;

constexpr wchar_t kCaption[] = L"Vrellix";

}  // namespace

Answer ShowMessageBox(HWND owner, const Message& message) {
  return g_messageBox ? g_messageBox(owner, message) : SystemMessageBox(owner, message);
}

std::optional<std::string> AskFileName(HWND owner, FileQuestion question, const std::string& proposed) {
  return g_fileName ? g_fileName(owner, question, proposed) : SystemFileDialog(owner, question, proposed);
}

void SetMessageBoxFunction(MessageBoxFunction function) { g_messageBox = std::move(function); }

void SetFileNameFunction(FileNameFunction function) { g_fileName = std::move(function); }

namespace {

// The box comes centred on the screen; over its window is where it belongs.
HHOOK g_centreHook = nullptr;

LRESULT CALLBACK CentreBoxOnActivate(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    CentreOverOwner(reinterpret_cast<HWND>(wParam));
    UnhookWindowsHookEx(g_centreHook);
    g_centreHook = nullptr;
    return 0;
  }
  return CallNextHookEx(g_centreHook, code, wParam, lParam);
}

}  // namespace

Answer SystemMessageBox(HWND owner, const Message& message) {
  UINT type = message.buttons == MessageButtons::kYesNo ? MB_YESNO : MB_OK;
  if (message.buttons == MessageButtons::kYesNo && message.defaultNo) type |= MB_DEFBUTTON2;
  switch (message.icon) {
    case MessageIcon::kInformation: type |= MB_ICONINFORMATION; break;
    case MessageIcon::kWarning: type |= MB_ICONWARNING; break;
    case MessageIcon::kError: type |= MB_ICONERROR; break;
  }
  if (owner && IsWindowVisible(owner) && !g_centreHook)
    g_centreHook = SetWindowsHookExW(WH_CBT, &CentreBoxOnActivate, nullptr, GetCurrentThreadId());
  const int result = MessageBoxW(owner, Wide(message.text).c_str(), kCaption, type);
  // Should the box never have been activated.
  if (g_centreHook) {
    UnhookWindowsHookEx(g_centreHook);
    g_centreHook = nullptr;
  }
  if (message.buttons == MessageButtons::kOk) return Answer::kOk;
  return result == IDYES ? Answer::kYes : Answer::kNo;
}

std::optional<std::string> SystemFileDialog(HWND owner, FileQuestion question, const std::string& proposed) {
  const FileDialogStart start = StartOfFileDialog(question, proposed);
  // "label\0pattern\0...\0\0"
  std::wstring filters;
  for (const FileFilter& filter : start.filters) filters += Wide(filter.label) + L'\0' + Wide(filter.pattern) + L'\0';
  filters += L'\0';
  const std::wstring folder = Wide(start.folder);
  const std::wstring initial = Wide(start.name);
  const std::wstring extension = Wide(start.extension);
  std::vector<wchar_t> name(32768, L'\0');
  std::copy(initial.begin(), initial.end(), name.begin());
  OPENFILENAMEW ofn{};
  if (!folder.empty()) ofn.lpstrInitialDir = folder.c_str();
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  // Added by the dialog before it asks about overwriting, so the question is
  // about the file that will be written.
  if (!extension.empty()) ofn.lpstrDefExt = extension.c_str();
  BOOL chosen = FALSE;
  if (question != FileQuestion::kSaveAlbum) {
    ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    chosen = GetOpenFileNameW(&ofn);
  } else {
    ofn.Flags |= OFN_OVERWRITEPROMPT;
    chosen = GetSaveFileNameW(&ofn);
  }
  if (!chosen) return std::nullopt;
  return Utf8(name.data());
}

}  // namespace vrellix::win32
