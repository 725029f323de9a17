// The main window's modal helpers: the track edit dialog (129), the About box
// (100), the 通信設定 and よみを一括推定 dialogs and the simulator's report.
#pragma once

#include <windows.h>

#include <string>

#include "window/titler_view.h"

namespace vrellix {
class ReadingActions;
}

namespace vrellix::win32 {

// Views of TrackEditLogic and PortSettingsLogic. True when closed with OK;
// edit then holds the texts as typed. readings (may be null) serve the
// dialog's よみを推定 and かなに変換.
bool RunTrackEditDialog(HWND owner, TrackEdit& edit, ReadingActions* readings = nullptr);
void RunAboutBox(HWND owner);
// True when closed with OK; edit then holds the port as chosen or typed
// (untrimmed) and the command delay.
bool RunPortSettingsDialog(HWND owner, PortSettingsEdit& edit);
// The よみを一括推定 dialog (ReadingChoiceLogic). True when closed with OK;
// choices then hold the check marks and the readings chosen.
bool RunReadingChoiceDialog(HWND owner, ReadingChoices& choices);
void RunSimulatorDump(HWND owner, const std::string& verdict, const std::string& dump);

}  // namespace vrellix::win32
