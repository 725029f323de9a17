// Every copy keeps the folder it is started in.
#include "fileio/current_directory.h"
#include "fileio/user_folders.h"

namespace vrellix {

std::string SettingsFolder() { return CurrentDirectory(); }

std::string FirstFileDialogFolder() { return std::string(); }

}  // namespace vrellix
