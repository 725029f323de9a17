// Where the main window's file dialogs open and what they show first, the same
// in every toolkit: in the folder of the album file last loaded or saved,
// listing that folder's files of the kind asked for; for saving, offering that
// file's name. Before any file, in the folder FirstFileDialogFolder() names.
#pragma once

#include <string>

#include "window/titler_view.h"

namespace vrellix {

struct FileDialogStart {
  std::string folder;     // UTF-8; empty: the system's choice (the current folder)
  std::string name;       // the file name field: "*.csv" or "*.cue" lists those files; or a name to save under
  std::string extension;  // added to a name typed without one before the dialog asks to overwrite ("csv"); empty: none
};

// proposed: the album file last loaded or saved (UTF-8); empty: none yet.
FileDialogStart StartOfFileDialog(FileQuestion question, const std::string& proposed);

}  // namespace vrellix
