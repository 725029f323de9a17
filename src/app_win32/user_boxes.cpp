#include "app_win32/user_boxes.h"

#include <commdlg.h>

#include <utility>
#include <vector>

#include "app_win32/win32_text.h"
#include "fileio/user_folders.h"

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

Answer SystemMessageBox(HWND owner, const Message& message) {
  UINT type = message.buttons == MessageButtons::kYesNo ? MB_YESNO : MB_OK;
  if (message.buttons == MessageButtons::kYesNo && message.defaultNo) type |= MB_DEFBUTTON2;
  switch (message.icon) {
    case MessageIcon::kInformation: type |= MB_ICONINFORMATION; break;
    case MessageIcon::kWarning: type |= MB_ICONWARNING; break;
    case MessageIcon::kError: type |= MB_ICONERROR; break;
  }
  const int result = MessageBoxW(owner, Wide(message.text).c_str(), kCaption, type);
  if (message.buttons == MessageButtons::kOk) return Answer::kOk;
  return result == IDYES ? Answer::kYes : Answer::kNo;
}

std::optional<std::string> SystemFileDialog(HWND owner, FileQuestion question, const std::string& proposed) {
  // "*.csv" as the first name lists the folder's CSV files; no filter list.
  // After a load or save, the dialog opens in that file's folder, and saving
  // offers its name.
  const std::wstring last = Wide(proposed);
  const std::size_t slash = last.find_last_of(L"\\/");
  std::wstring folder = slash == std::wstring::npos ? std::wstring() : last.substr(0, slash);
  if (folder.empty()) folder = Wide(FirstFileDialogFolder());  // the installed program's own folder is no place for albums
  std::wstring initial = question == FileQuestion::kOpenCueSheet ? L"*.cue" : L"*.csv";
  if (question == FileQuestion::kSaveAlbum && !last.empty()) initial = last.substr(slash == std::wstring::npos ? 0 : slash + 1);
  std::vector<wchar_t> name(32768, L'\0');
  std::copy(initial.begin(), initial.end(), name.begin());
  OPENFILENAMEW ofn{};
  if (!folder.empty()) ofn.lpstrInitialDir = folder.c_str();
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  BOOL chosen = FALSE;
  if (question != FileQuestion::kSaveAlbum) {
    ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    chosen = GetOpenFileNameW(&ofn);
  } else {
    ofn.Flags |= OFN_OVERWRITEPROMPT;
    // Added by the dialog before it asks about overwriting, so the question is
    // about the file that will be written.
    ofn.lpstrDefExt = L"csv";
    chosen = GetSaveFileNameW(&ofn);
  }
  if (!chosen) return std::nullopt;
  return Utf8(name.data());
}

}  // namespace vrellix::win32
