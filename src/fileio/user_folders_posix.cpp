// Every copy keeps the folder it is started in; what the user taught it goes
// where the XDG base directories put a user's data.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "fileio/current_directory.h"
#include "fileio/user_folders.h"

namespace vrellix {

std::string SettingsFolder() { return CurrentDirectory(); }

std::string FirstFileDialogFolder() { return std::string(); }

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

std::string LearnedReadingsFile() {
  if (std::string file = Environment("VRELLIX_READINGS_FILE"); !file.empty()) return file;
  // A relative XDG_DATA_HOME counts as unset, as XDG has it.
  std::string data = Environment("XDG_DATA_HOME");
  if (data.empty() || data[0] != '/') {
    std::string home = Environment("HOME");
    if (home.empty()) {
      const passwd* user = getpwuid(getuid());
      if (!user || !user->pw_dir) return std::string();
      home = user->pw_dir;
    }
    data = home + "/.local/share";
  }
  return data + "/vrellix/readings.tsv";
}

}  // namespace vrellix
