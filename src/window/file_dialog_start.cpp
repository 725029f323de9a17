#include "window/file_dialog_start.h"

#include <filesystem>

#include "fileio/user_folders.h"
#include "messages/messages.h"

namespace vrellix {

FileDialogStart StartOfFileDialog(FileQuestion question, const std::string& proposed) {
  // The platform's own separators: a backslash divides a Windows path only.
  const std::filesystem::path last = std::filesystem::u8path(proposed);
  FileDialogStart start;
  start.folder = last.parent_path().u8string();
  // The installed program's own folder is no place for albums.
  if (start.folder.empty()) start.folder = FirstFileDialogFolder();
  const bool save = question == FileQuestion::kSaveAlbum;
  if (save && !proposed.empty()) start.name = last.filename().u8string();
  if (save) start.extension = "csv";
  // The settings file lies beside the albums: only the kind asked for is listed first.
  if (question == FileQuestion::kOpenCueSheet) {
    start.filters.push_back({messages::kCueFilesFilter, "*.cue"});
  } else {
    start.filters.push_back({messages::kCsvFilesFilter, "*.csv"});
  }
  start.filters.push_back({messages::kAllFilesFilter, "*.*"});
  return start;
}

}  // namespace vrellix
