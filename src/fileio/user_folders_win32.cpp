// The installed copy is told by the installer's mark beside the .exe, not by
// how it was started: the Start menu, Explorer and a console all find the same
// settings, and both programs of the folder agree.
#include <windows.h>

#include <shlobj.h>

#include <cstdlib>

#include "fileio/current_directory.h"
#include "fileio/program_folder.h"
#include "fileio/user_folders.h"
#include "text/wide_text.h"

namespace vrellix {

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) break;
    path.resize(path.size() * 2);  // cut short: the whole name is longer
  }
  return path.substr(0, path.find_last_of(L'\\') + 1);
}

namespace {

bool IsInstalledCopy() {
  const std::wstring folder = ProgramFolder();
  if (folder.empty()) return false;
  const DWORD attributes = GetFileAttributesW((folder + WideFromUtf8(kInstalledMark)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_CREATE, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

std::string SettingsFolder() {
  if (!IsInstalledCopy()) return CurrentDirectory();
  const std::wstring appData = KnownFolder(FOLDERID_RoamingAppData);
  // Without a profile folder the write into the current one fails and says so.
  if (appData.empty()) return CurrentDirectory();
  const std::wstring folder = appData + L"\\Vrellix";
  // Already there on every start but the first; a folder that cannot be made
  // shows as the settings write's failure, naming the file.
  CreateDirectoryW(folder.c_str(), nullptr);
  return Utf8FromWide(folder);
}

std::string LearnedReadingsFile() {
  // The environment's own UTF-16 text: the ANSI code page cannot hold every path.
  if (const wchar_t* file = _wgetenv(L"VRELLIX_READINGS_FILE"); file && *file) return Utf8FromWide(file);
  const std::wstring appData = KnownFolder(FOLDERID_RoamingAppData);
  return appData.empty() ? std::string() : Utf8FromWide(appData + L"\\Vrellix\\readings.tsv");
}

std::string FirstFileDialogFolder() {
  return IsInstalledCopy() ? Utf8FromWide(KnownFolder(FOLDERID_Documents)) : std::string();
}

}  // namespace vrellix
