// The main window as the window logic sees it: three edit fields, the fifty
// rows of the track list with their check marks, four buttons, and the modal
// windows it opens. Every call comes on the window thread.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "serial/serial_port.h"
#include "settings/link_settings.h"  // kMaxCommandDelayMs
#include "window/field_marks.h"
#include "window/message.h"
#include "window/reading_choice_view.h"

namespace vrellix {

// The edit fields 1003, 1004 and 1007.
enum class TextField { kTitle, kYomi, kArtist };
// The text columns of the track list (column 0 holds the number and the check box).
enum class TrackColumn { kName = 1, kYomi = 2 };
// The buttons 1000, 1001, 1002 and 1 (終了).
enum class Control { kLoad, kSave, kStart, kExit };
// Keys whose meaning depends on where the focus is: Enter, and F2 (edit).
enum class Key { kEnter, kEdit };
enum class KeyPlace { kTextField, kTrackList };
enum class FileQuestion { kOpenAlbum, kSaveAlbum, kOpenCueSheet };

// The main window's own colour behind its texts (RGB); the fields, the list
// and the buttons keep the system's.
struct Rgb {
  int red;
  int green;
  int blue;
};
constexpr Rgb kWindowBackground{162, 188, 189};

// What the track edit dialog shows, and after OK what the user typed (UTF-8,
// untrimmed).
struct TrackEdit {
  std::string number;  // "1".."50", shown only
  std::string name;
  std::string yomi;
};

// What the 通信設定 dialog shows, and after OK what the user chose.
struct PortSettingsEdit {
  std::vector<SerialPortInfo> ports;  // the ports present, to pick from
  std::string port;                   // the device in use; the user may also type one not listed
  int commandDelay = 0;               // ms, 0..kMaxCommandDelayMs
};

class TitlerView : public MessageView {
 public:
  // UTF-8 texts of the edit fields.
  virtual std::string Text(TextField field) const = 0;
  virtual void SetText(TextField field, const std::string& text) = 0;
  // Replaces the field's text as if the user had typed it over the whole, so
  // that the field's own undo brings the old text back.
  virtual void ReplaceText(TextField field, const std::string& text) = 0;
  // Shows beside the field its count against the limit (marked when over) and
  // marks the characters at fault, with marks.tip as the field's tooltip.
  virtual void ShowFieldMarks(TextField field, const FieldMarks& marks) = 0;
  // Puts the keyboard focus in the field, or on the row's cell (scrolled into view).
  virtual void FocusText(TextField field) = 0;
  virtual void FocusTrack(int row, TrackColumn column) = 0;
  // Puts the focus in the field with its whole text selected, to be typed over.
  virtual void SelectText(TextField field) = 0;
  // Moves the focus to the next control, as Tab does.
  virtual void FocusNextControl() = 0;
  // The track list's current row; -1 when it has none.
  virtual int CurrentTrack() const = 0;

  // Rows 0..49.
  virtual std::string CellText(int row, TrackColumn column) const = 0;
  virtual void SetCellText(int row, TrackColumn column, const std::string& text) = 0;
  virtual bool IsChecked(int row) const = 0;
  virtual void SetChecked(int row, bool checked) = 0;
  // Marks the row as one Start would refuse: its number cell reads
  // messages::TrackNumber(row + 1, true) (in red), and tip, one line per fault,
  // is the row's tooltip. An empty tip takes the mark away.
  virtual void MarkTrack(int row, const std::string& tip) = 0;

  virtual void EnableControl(Control control, bool enabled) = 0;
  // The window's caption.
  virtual void SetCaption(const std::string& text) = 0;
  // The line under the buttons: what jobs run on (UTF-8).
  virtual void SetLinkText(const std::string& text) = 0;

  // A file name (UTF-8) from the user; nothing when cancelled. For saving, the
  // dialog has added ".csv" to a name typed without an extension and the user
  // has agreed to overwrite that file if it exists. proposed: the album file
  // last loaded or saved (empty: none yet); the dialog starts as
  // StartOfFileDialog says.
  virtual std::optional<std::string> AskFileName(FileQuestion question, const std::string& proposed) = 0;

  // Runs the track edit dialog (TrackEditLogic) modally on edit. True when it
  // closed with OK; edit then holds the texts typed.
  virtual bool EditTrack(TrackEdit& edit) = 0;

  // Runs the 通信設定 dialog (PortSettingsLogic) modally on edit. True when
  // it closed with OK; edit then holds the choice (the port untrimmed).
  virtual bool EditPortSettings(PortSettingsEdit& edit) = 0;

  // Runs the よみを一括推定 dialog (ReadingChoiceLogic) modally on choices.
  // True when it closed with OK; choices then holds the check marks and the
  // readings chosen.
  virtual bool ChooseReadings(ReadingChoices& choices) = 0;

  // After a job on the built-in simulator: the verdict and what the simulated
  // device holds (UTF-8), modally.
  virtual void ShowSimulatorDump(const std::string& verdict, const std::string& dump) = 0;

  // The About box (dialog 100), modally.
  virtual void ShowAbout() = 0;
};

}  // namespace vrellix
