// Where the program keeps what belongs to its user. A Windows copy that the
// installer set up (its folder holds the installer's mark, kInstalledMark)
// lives in a folder the user may not write, so it keeps them per user; every
// other copy (the ZIP, Linux) keeps the folder it is started in.
#pragma once

#include <string>

namespace vrellix {

// The file the Windows installer puts beside the programs; the ZIP has none.
inline constexpr char kInstalledMark[] = "installed.txt";

// The folder of the settings file (UTF-8): the current directory, or for the
// installed Windows program the user's %APPDATA%\Vrellix, created when
// missing. Empty when the system cannot tell the folder.
std::string SettingsFolder();

// The folder a file dialog opens in before the user loaded or saved a file:
// the user's Documents for the installed Windows program; empty (the
// system's own choice) otherwise.
std::string FirstFileDialogFolder();

// The file of the readings the user taught the program (UTF-8): the
// environment's VRELLIX_READINGS_FILE when it is set and not empty, else
// $XDG_DATA_HOME/vrellix/readings.tsv (~/.local/share without it) on POSIX
// systems and %APPDATA%\Vrellix\readings.tsv on Windows, for every copy of
// the program. Empty when the system cannot tell the folder.
std::string LearnedReadingsFile();

}  // namespace vrellix
