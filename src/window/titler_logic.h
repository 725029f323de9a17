// The main window's behaviour (dialog 102), apart from how it draws: the edited
// album, start-up (settings, port), the load, save and start buttons, the track
// cell clicks, the exit question and the end of the program. A toolkit's main
// window implements TitlerView, owns one TitlerLogic and calls its handlers;
// the Start button's handler, OnStart, is what starts a job.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "album/album.h"
#include "job/job_line.h"
#include "job/job_place.h"
#include "job/job_runner.h"
#include "serial/serial_port.h"
#include "settings/link_settings.h"
#include "timing/clock.h"
#include "window/menu_model.h"
#include "window/progress_logic.h"
#include "window/reading_actions.h"
#include "window/titler_view.h"

namespace vrellix {

struct TitlerOptions {
  // Makes what jobs run on in the serial port's place (the built-in simulator:
  // sim::SimulatorLines); the window then shows what the device holds after
  // each job, as the line reports it. Empty: the serial port that the
  // settings name.
  JobLineFactory openLine;
  // The clock of the serial port's jobs; nullptr: the system clock. Not owned.
  Clock* clock = nullptr;
  // The ports the 通信設定 dialog offers; nullptr: the system's (ListSerialPorts).
  std::function<std::vector<SerialPortInfo>()> listPorts;
  // Where readings of kanji come from; nullptr: the system's. Not owned.
  ReadingProvider* readings = nullptr;
  // The file of learned readings; nothing: the user's; empty: none (learned
  // only while the window is open).
  std::optional<std::string> learnedReadings;
};

class TitlerLogic {
 public:
  // view and progress outlive the logic. Nothing is shown before OnInitDialog.
  TitlerLogic(TitlerView& view, ProgressLogic& progress, const TitlerOptions& options = {});
  // Stops a running job and closes the port.
  ~TitlerLogic();
  TitlerLogic(const TitlerLogic&) = delete;
  TitlerLogic& operator=(const TitlerLogic&) = delete;

  // Once the view's controls exist: reads (and writes back) the settings file
  // of the current directory and opens the port or the simulator, naming it
  // in the line under the buttons. A port that cannot be opened leaves only
  // start disabled.
  void OnInitDialog();
  // Once the window is on the screen (the first time only): what the start
  // found wrong, over the window: a settings file that could not be read or
  // written back, and a port that did not open, with the offer of the
  // 通信設定 dialog.
  void OnWindowShown();

  // The 通信設定 dialog (context menu): on OK writes the port and the command
  // delay to the settings file and reopens the port at once; start is enabled
  // exactly while a port is open.
  void OnPortSettings();

  // 終了: asks, No by default, and says so when the album has changes not
  // saved to a file or a 「トラックNから再開」 would be lost. True when the
  // window may end; the edit fields' texts are then saved.
  bool OnExit();
  // Escape or the close box: ends without a question unless either would be
  // lost. True when the window may end.
  bool OnCancel();

  // The view calls this whenever a field's text changes, also through SetText:
  // shows the field's marks.
  void OnTextChanged(TextField field);

  void OnLoadCsv();
  void OnSaveCsv();
  // Runs the Start checks (a fault is reported and its field gets the focus),
  // asks, giving the estimated time, and runs the job with the progress window
  // until it ends. After a failure or a stop it says where the job was and what
  // to do on the device, and from a track offers to continue there: the next
  // start then enters that track and the ticked ones after it. On the
  // simulator it then shows what the device holds.
  void OnStart();
  // The view calls this whenever a row's check mark changes, also through
  // SetChecked: marks the row when Start would refuse it.
  void OnTrackChecked(int row);
  // A click on the track list; row -1 when it hit no row. The name and reading
  // columns open the track edit dialog; the number column only toggles the check.
  void OnTrackCellClicked(int row, int column);
  // The track edit dialog for the row (0..49): on OK the row takes the
  // trimmed texts, checked exactly when it has a name.
  void OnEditTrack(int row);
  // Enter or F2 where the focus is. Enter in a text field goes on to the next
  // control, as Tab does (it never ends the program); Enter or F2 on the track
  // list edits its current row. True when the key was taken; the view then
  // does nothing else with it.
  bool OnKey(Key key, KeyPlace place);

  // よみを一括推定 (context menu): every empty reading of the title and the
  // named tracks, each with its candidates in the dialog (ChooseReadings),
  // made as chosen there.
  void OnFillReadings();
  // CUE読込 (context menu): a CUE sheet's title, artist and track names as
  // the album, asking first when there are unsaved changes.
  void OnImportCue();
  // The same suggestions for the track edit dialog.
  ReadingActions& Readings() { return m_readings; }
  // The About item: the About box.
  void OnAbout() { m_view.ShowAbout(); }

  // The window's menus, which the views draw as they stand, the same on every
  // platform, built as they open. What a field's own context menu offers after
  // the edit items (よみを推定 with the title's readings on the title and the
  // reading, かなに変換 with the name in kana on the title and the artist).
  Menu FieldMenu(TextField field);
  // The window's context menu: the fields' actions, by field, the album's
  // items, then 通信設定 and About.
  Menu WindowMenu();
  // What the program adds to the window's system menu where it has one
  // (Windows), after a separator: 通信設定 and About.
  Menu SystemMenu();

  // True when the album on screen differs from the one last loaded or saved
  // (the empty one at start). Check marks are not saved, so they do not count.
  bool HasUnsavedChanges();

  const LinkSettings& Settings() const { return m_settings; }
  // True while no job runs.
  bool IsJobIdle() const;
  // What jobs run through; nullptr while no port or simulator is open.
  JobRunner* Runner() { return m_pLine ? &m_pLine->Runner() : nullptr; }

 private:
  bool OpenLink();
  // Closes the port and opens the one the settings name; enables start when it opened.
  bool ReopenLink();
  // The port failure message with the offer of the dialog; true on Yes.
  bool AskAfterPortFailure();
  // The line naming the port (or the simulator) and the command delay.
  void ShowLink(bool open);
  // The edited album as the view holds it now (texts saved from the fields).
  EditedAlbum CollectAlbum();
  void SaveTexts();
  void LoadTexts();
  void ApplyAlbum(const EditedAlbum& album);
  std::array<bool, kTrackCount> CheckMarks() const;
  // Marks the rows that Start would refuse, as their texts and check marks stand.
  void MarkTracks();
  void MarkTrack(int row);
  // headers: false when the job continues from a track and leaves them out.
  void RunEntryJob(const AlbumToEnter& entry, bool headers, const JobPlan& plan);
  // What the progress window names under each status text of the job.
  std::map<std::string, std::string> ProgressItems(const AlbumToEnter& entry) const;
  // After a failure or a stop: where the job was, what to do on the device,
  // and (from a track) the offer to continue from there.
  void AfterStop(const JobPlace& place);
  Answer Show(const std::string& text, MessageIcon icon, MessageButtons buttons = MessageButtons::kOk);
  // A question whose Yes loses work: No is its default.
  bool Confirm(const std::string& text, MessageIcon icon);
  // always: ask even when nothing would be lost.
  bool AskBeforeLeaving(bool always);
  // Where the next 処理開始 continues from (nothing: the whole album), shown in the caption.
  void SetResume(std::optional<JobPlace> place);
  // よみを推定 for the title's reading; かなに変換 for the field's name.
  MenuItem ReadingItem();
  Menu NameItems(TextField field);
  MenuItem PortSettingsItem();

  TitlerView& m_view;
  ProgressLogic& m_progress;
  TitlerOptions m_options;

  // Texts exchanged with the edit fields (UTF-8).
  std::string m_strTitle;
  std::string m_strYomi;
  std::string m_strArtist;
  EditedAlbum m_keptAlbum;  // as last loaded or saved
  std::array<std::string, kTrackCount> m_trackTips;  // each row's mark as shown; empty: none

  std::string m_strAlbumPath;  // the album file last loaded or saved
  std::string m_strSettingsPath;
  LinkSettings m_settings;
  PortFailure m_portFailure;  // why the port did not open
  // What OnInitDialog found, for OnWindowShown to tell.
  std::string m_startWarning;
  bool m_startWithoutPort = false;
  bool m_shown = false;

  ReadingActions m_readings;

  std::unique_ptr<JobLine> m_pLine;  // what jobs run on; nullptr while no port is open
  // Where the next 処理開始 continues from; nothing: the whole album.
  std::optional<JobPlace> m_resumeFrom;
};

}  // namespace vrellix
