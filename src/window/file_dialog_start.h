// Where the main window's file dialogs open and what they show first, the same
// in every toolkit: in the folder of the album file last loaded or saved,
// listing that folder's files of the kind asked for (the user may list all
// instead); for saving, offering that file's name. Before any file, in the
// folder FirstFileDialogFolder() names.
#pragma once

#include <string>
#include <vector>

#include "window/titler_view.h"

namespace vrellix {

struct FileFilter {
  std::string label;    // as the dialog lists it: "CSVファイル (*.csv)"
  std::string pattern;  // "*.csv"
};

struct FileDialogStart {
  std::string folder;     // UTF-8; empty: the system's choice (the current folder)
  std::string name;       // the file name field: a name to save under; empty: none
  std::string extension;  // added to a name typed without one before the dialog asks to overwrite ("csv"); empty: none
  std::vector<FileFilter> filters;  // the first is the one chosen
};

// proposed: the album file last loaded or saved (UTF-8); empty: none yet.
FileDialogStart StartOfFileDialog(FileQuestion question, const std::string& proposed);

}  // namespace vrellix
