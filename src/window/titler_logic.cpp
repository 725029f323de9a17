#include "window/titler_logic.h"

#include <algorithm>
#include <utility>

#include "album/album_csv.h"
#include "album/cue_sheet.h"
#include "job/job_plan.h"
#include "messages/messages.h"
#include "text/text_codec.h"
#include "text/trim.h"
#include "validate/input_checks.h"

namespace vrellix {

namespace {

// An album file's message with the file's reason, when there is one, on the line below.
std::string AlbumFileText(const AlbumFileResult& result) {
  const std::string reason = FileFailureReason(result.file);
  return AlbumFileMessage(result) + (reason.empty() ? "" : "\n" + reason);
}

// The first fault as the Start has always reported it, then the album's other
// faults, a line each, so that one press shows what is left to correct.
std::string StartFaultText(const StartCheckResult& checked) {
  std::string text = checked.detail.empty() ? checked.message : checked.message + "\n" + checked.detail;
  const std::vector<StartFault>& faults = checked.faults;
  if (faults.size() < 2) return text;
  text += std::string("\n\n") + messages::kOtherFaults;
  const std::size_t shown = std::min<std::size_t>(faults.size(), messages::kOtherFaultsShown + 1);
  for (std::size_t i = 1; i < shown; ++i) text += "\n" + faults[i].line;
  if (shown < faults.size()) text += "\n" + messages::MoreFaults(faults.size() - shown);
  return text;
}

}  // namespace

TitlerLogic::TitlerLogic(TitlerView& view, ProgressLogic& progress, const TitlerOptions& options)
    : m_view(view), m_progress(progress), m_options(options), m_readings(options.readings, options.learnedReadings) {}

TitlerLogic::~TitlerLogic() {
  // The runner would stop the job itself; stopping here keeps its warning
  // while the views still stand.
  if (!IsJobIdle()) m_pLine->Runner().Stop();
  // Closes the port.
  m_pLine.reset();
}

Answer TitlerLogic::Show(const std::string& text, MessageIcon icon, MessageButtons buttons) {
  return m_view.ShowMessage({text, icon, buttons});
}

void TitlerLogic::OnInitDialog() {
  m_strSettingsPath = SettingsPath();
  // The values read (or the defaults) are used even when the file could not
  // be read or written back.
  m_startWarning = SettingsLoadWarning(m_strSettingsPath, LoadIniSettings(m_strSettingsPath, m_settings));
  const std::string portWarning = PortNumberWarning(m_settings);
  if (!portWarning.empty()) m_startWarning += (m_startWarning.empty() ? "" : "\n") + portWarning;

  LoadTexts();
  for (TextField field : {TextField::kTitle, TextField::kYomi, TextField::kArtist}) OnTextChanged(field);
  const bool open = OpenLink();
  // The caption says whether the simulator stands in for the device.
  SetResume(std::nullopt);
  // Load and save stay usable: an album typed meanwhile can still be kept.
  m_startWithoutPort = !open;
  if (!open) m_view.EnableControl(Control::kStart, false);
  ShowLink(open);
}

void TitlerLogic::OnWindowShown() {
  // A box before the window would stand alone, away from what it is about.
  if (m_shown) return;
  m_shown = true;
  if (!m_startWarning.empty()) Show(m_startWarning, MessageIcon::kWarning);
  if (m_startWithoutPort && AskAfterPortFailure()) OnPortSettings();
}

void TitlerLogic::ShowLink(bool open) {
  const std::string port = PortDeviceName(m_settings);
  const std::string where = m_options.openLine ? messages::kSimulatorInUse
                            : open             ? messages::PortInUse(port)
                                               : messages::PortNotOpen(port);
  m_view.SetLinkText(messages::LinkLine(where, m_settings.m_nCommandDelay));
}

bool TitlerLogic::AskAfterPortFailure() {
  const std::string text = PortFailureMessage(m_settings, m_portFailure) + "\n\n" + messages::kChoosePortQuestion;
  return Show(text, MessageIcon::kError, MessageButtons::kYesNo) == Answer::kYes;
}

bool TitlerLogic::ReopenLink() {
  m_pLine.reset();  // closes the old port
  const bool open = OpenLink();
  m_view.EnableControl(Control::kStart, open);
  ShowLink(open);
  return open;
}

void TitlerLogic::OnPortSettings() {
  if (!IsJobIdle()) return;
  for (;;) {
    PortSettingsEdit edit;
    edit.ports = m_options.listPorts ? m_options.listPorts() : ListSerialPorts();
    edit.port = PortDeviceName(m_settings);
    edit.commandDelay = m_settings.m_nCommandDelay;
    if (!m_view.EditPortSettings(edit)) return;
    LinkSettings chosen = m_settings;
    chosen.m_strPortName = TrimWhite(edit.port);
    chosen.m_nCommandDelay = std::clamp(edit.commandDelay, 0, kMaxCommandDelayMs);
    // The choice holds for this run even when it could not be written.
    if (!SavePortSettings(m_strSettingsPath, chosen).Ok())
      Show(SettingsWriteFailureMessage(m_strSettingsPath), MessageIcon::kWarning);
    m_settings = chosen;
    if (ReopenLink() || !AskAfterPortFailure()) return;
  }
}

bool TitlerLogic::OpenLink() {
  const int delay = m_settings.m_nCommandDelay;
  if (m_options.openLine) {
    m_pLine = m_options.openLine(delay);
    return m_pLine != nullptr;
  }
  std::unique_ptr<SerialChannel> port = OpenTransmitterPort(PortDeviceName(m_settings), &m_portFailure);
  if (!port) return false;
  m_pLine = std::make_unique<JobLine>(
      m_options.clock ? std::make_unique<JobRunner>(std::move(port), *m_options.clock, delay)
                      : std::make_unique<JobRunner>(std::move(port), std::make_unique<SystemClock>(), delay));
  return true;
}

void TitlerLogic::SaveTexts() {
  m_strTitle = m_view.Text(TextField::kTitle);
  m_strArtist = m_view.Text(TextField::kArtist);
  m_strYomi = m_view.Text(TextField::kYomi);
}

void TitlerLogic::LoadTexts() {
  m_view.SetText(TextField::kTitle, m_strTitle);
  m_view.SetText(TextField::kArtist, m_strArtist);
  m_view.SetText(TextField::kYomi, m_strYomi);
}

EditedAlbum TitlerLogic::CollectAlbum() {
  SaveTexts();
  EditedAlbum album;
  album.title = m_strTitle;
  album.yomi = m_strYomi;
  album.artist = m_strArtist;
  for (int row = 0; row < kTrackCount; ++row) {
    EditedRow& edited = album.rows[static_cast<std::size_t>(row)];
    edited.name = m_view.CellText(row, TrackColumn::kName);
    edited.yomi = m_view.CellText(row, TrackColumn::kYomi);
    edited.checked = m_view.IsChecked(row);
  }
  return album;
}

void TitlerLogic::ApplyAlbum(const EditedAlbum& album) {
  m_strTitle = album.title;
  m_strYomi = album.yomi;
  m_strArtist = album.artist;
  for (int row = 0; row < kTrackCount; ++row) {
    const EditedRow& edited = album.rows[static_cast<std::size_t>(row)];
    m_view.SetCellText(row, TrackColumn::kName, edited.name);
    m_view.SetCellText(row, TrackColumn::kYomi, edited.yomi);
    m_view.SetChecked(row, edited.checked);
  }
  LoadTexts();
  MarkTracks();
  m_readings.ForgetConversions();
}

std::array<bool, kTrackCount> TitlerLogic::CheckMarks() const {
  std::array<bool, kTrackCount> checks{};
  for (int row = 0; row < kTrackCount; ++row) checks[static_cast<std::size_t>(row)] = m_view.IsChecked(row);
  return checks;
}

void TitlerLogic::MarkTrack(int row) {
  std::string tip;
  // Start leaves unchecked rows alone.
  if (m_view.IsChecked(row)) {
    for (const StartFault& fault :
         ListTrackFaults(row + 1, m_view.CellText(row, TrackColumn::kName), m_view.CellText(row, TrackColumn::kYomi)))
      tip += (tip.empty() ? "" : "\n") + fault.line;
  }
  std::string& shown = m_trackTips[static_cast<std::size_t>(row)];
  if (tip == shown) return;
  // Before the view is told: marking the row may report a change of it again.
  shown = tip;
  m_view.MarkTrack(row, tip);
}

void TitlerLogic::MarkTracks() {
  for (int row = 0; row < kTrackCount; ++row) MarkTrack(row);
}

void TitlerLogic::OnTrackChecked(int row) {
  if (row >= 0 && row < kTrackCount) MarkTrack(row);
}

bool TitlerLogic::IsJobIdle() const { return !m_pLine || m_pLine->Runner().IsIdle(); }

bool TitlerLogic::Confirm(const std::string& text, MessageIcon icon) {
  Message question{text, icon, MessageButtons::kYesNo};
  question.defaultNo = true;
  return m_view.ShowMessage(question) == Answer::kYes;
}

namespace {

bool SameTexts(const EditedAlbum& a, const EditedAlbum& b) {
  if (a.title != b.title || a.yomi != b.yomi || a.artist != b.artist) return false;
  for (std::size_t row = 0; row < a.rows.size(); ++row) {
    if (a.rows[row].name != b.rows[row].name || a.rows[row].yomi != b.rows[row].yomi) return false;
  }
  return true;
}

}  // namespace

bool TitlerLogic::HasUnsavedChanges() { return !SameTexts(CollectAlbum(), m_keptAlbum); }

bool TitlerLogic::OnExit() { return AskBeforeLeaving(true); }

bool TitlerLogic::OnCancel() { return AskBeforeLeaving(false); }

bool TitlerLogic::AskBeforeLeaving(bool always) {
  const bool unsaved = HasUnsavedChanges();
  std::string question = unsaved ? messages::kUnsavedExitQuestion : messages::kExitQuestion;
  // The place to continue from lives only as long as the program.
  if (m_resumeFrom) question = messages::ResumeLost(PlaceLabel(*m_resumeFrom)) + "\n" + question;
  const bool loses = unsaved || m_resumeFrom.has_value();
  if ((always || loses) && !Confirm(question, loses ? MessageIcon::kWarning : MessageIcon::kInformation)) return false;
  SaveTexts();
  return true;
}

void TitlerLogic::SetResume(std::optional<JobPlace> place) {
  m_resumeFrom = place;
  const std::string caption =
      m_pLine && m_pLine->Simulated() ? messages::kSimulatorCaption : messages::kProgramCaption;
  m_view.SetCaption(place ? messages::ResumeCaption(caption, PlaceLabel(*place)) : caption);
}

void TitlerLogic::OnTrackCellClicked(int row, int column) {
  // The number column holds the check box: a click there only toggles it.
  if (column < static_cast<int>(TrackColumn::kName) || column > static_cast<int>(TrackColumn::kYomi)) return;
  OnEditTrack(row);
}

bool TitlerLogic::OnKey(Key key, KeyPlace place) {
  switch (place) {
    case KeyPlace::kTextField:
      if (key != Key::kEnter) return false;
      m_view.FocusNextControl();
      return true;
    case KeyPlace::kTrackList:
      OnEditTrack(m_view.CurrentTrack());
      return true;
  }
  return false;
}

void TitlerLogic::OnEditTrack(int row) {
  SaveTexts();
  if (row < 0 || row >= kTrackCount) return;
  TrackEdit edit;
  edit.number = std::to_string(row + 1);
  edit.name = m_view.CellText(row, TrackColumn::kName);
  edit.yomi = m_view.CellText(row, TrackColumn::kYomi);
  if (!m_view.EditTrack(edit)) return;
  const std::string name = TrimWhite(edit.name);
  m_view.SetCellText(row, TrackColumn::kName, name);
  m_view.SetCellText(row, TrackColumn::kYomi, TrimWhite(edit.yomi));
  m_view.SetChecked(row, !name.empty());
  LoadTexts();
  MarkTrack(row);
}

void TitlerLogic::OnLoadCsv() {
  if (HasUnsavedChanges() && !Confirm(messages::kUnsavedLoadQuestion, MessageIcon::kWarning)) return;
  const std::optional<std::string> path = m_view.AskFileName(FileQuestion::kOpenAlbum, m_strAlbumPath);
  if (!path) return;
  // The core replaces the album only when the whole file was read.
  EditedAlbum album = CollectAlbum();
  const AlbumFileResult result = LoadAlbumCsv(*path, album);
  if (!result.Ok()) {
    Show(AlbumFileText(result), MessageIcon::kWarning);
    return;
  }
  ApplyAlbum(album);
  m_keptAlbum = CollectAlbum();
  m_strAlbumPath = *path;
  // Another album: where the last one stopped means nothing for it.
  SetResume(std::nullopt);
}

void TitlerLogic::OnImportCue() {
  if (HasUnsavedChanges() && !Confirm(messages::kUnsavedLoadQuestion, MessageIcon::kWarning)) return;
  const std::optional<std::string> path = m_view.AskFileName(FileQuestion::kOpenCueSheet, m_strAlbumPath);
  if (!path) return;
  EditedAlbum album;
  const AlbumFileResult sheet = LoadCueSheet(*path, album);
  if (!sheet.Ok()) {
    Show(AlbumFileText(sheet), MessageIcon::kWarning);
    return;
  }
  // Not saved anywhere yet: the album counts as changed, and the album file
  // last used stays the one the dialogs propose.
  ApplyAlbum(album);
  SetResume(std::nullopt);
}

void TitlerLogic::OnFillReadings() {
  const EditedAlbum album = CollectAlbum();
  const std::optional<EditedAlbum> filled =
      m_readings.FillReadings(m_view, album, [this](ReadingChoices& choices) { return m_view.ChooseReadings(choices); });
  if (!filled) return;
  if (filled->yomi != album.yomi) m_view.ReplaceText(TextField::kYomi, filled->yomi);
  for (int row = 0; row < kTrackCount; ++row) {
    const std::string& yomi = filled->rows[static_cast<std::size_t>(row)].yomi;
    if (yomi != album.rows[static_cast<std::size_t>(row)].yomi) m_view.SetCellText(row, TrackColumn::kYomi, yomi);
  }
  SaveTexts();
  MarkTracks();
}

MenuItem TitlerLogic::ReadingItem() {
  SaveTexts();
  return m_readings.ReadingItem(
      m_view, m_strTitle,
      [this](const std::string& reading) {
        m_view.ReplaceText(TextField::kYomi, reading);
        SaveTexts();
      },
      [this] { m_view.SelectText(TextField::kYomi); });
}

Menu TitlerLogic::NameItems(TextField field) {
  SaveTexts();
  const bool title = field == TextField::kTitle;
  return m_readings.NameItems(m_view, AlbumField{title ? AlbumField::Kind::kTitle : AlbumField::Kind::kArtist, 0},
                              title ? m_strTitle : m_strArtist, [this, field](const std::string& name) {
                                m_view.ReplaceText(field, name);
                                SaveTexts();
                              });
}

MenuItem TitlerLogic::PortSettingsItem() {
  // The dialog would reopen the port under a running job.
  return {messages::kPortSettingsItem, [this] { OnPortSettings(); }, IsJobIdle()};
}

Menu TitlerLogic::FieldMenu(TextField field) {
  Menu menu;
  if (field != TextField::kArtist) menu.push_back(ReadingItem());
  if (field != TextField::kYomi) {
    for (MenuItem& item : NameItems(field)) menu.push_back(std::move(item));
  }
  return menu;
}

Menu TitlerLogic::WindowMenu() {
  return {ReadingItem(),
          Submenu(messages::kPlaceTitle, NameItems(TextField::kTitle)),
          Submenu(messages::kPlaceArtist, NameItems(TextField::kArtist)),
          {messages::kFillReadingsItem, [this] { OnFillReadings(); }},
          {messages::kImportCueItem, [this] { OnImportCue(); }},
          Separator(),
          PortSettingsItem(),
          {messages::kAboutItem, [this] { OnAbout(); }}};
}

Menu TitlerLogic::SystemMenu() {
  return {Separator(), PortSettingsItem(), {messages::kAboutItem, [this] { OnAbout(); }}};
}

void TitlerLogic::OnSaveCsv() {
  const EditedAlbum album = CollectAlbum();
  // The dialog has added the extension before it asked about overwriting: the
  // name is used as it comes.
  const std::optional<std::string> path = m_view.AskFileName(FileQuestion::kSaveAlbum, m_strAlbumPath);
  if (!path) return;
  const AlbumFileResult result = SaveAlbumCsv(*path, album);
  if (!result.Ok()) {
    Show(AlbumFileText(result), MessageIcon::kWarning);
    return;
  }
  m_keptAlbum = album;
  m_strAlbumPath = *path;
  Show(messages::kFileSaved, MessageIcon::kInformation);
  m_readings.LearnFromAlbum(m_view, album);
}

void TitlerLogic::OnTextChanged(TextField field) {
  const CheckMode mode = field == TextField::kYomi ? CheckMode::kReading : CheckMode::kGeneral;
  m_view.ShowFieldMarks(field, MarkField(m_view.Text(field), mode));
}

void TitlerLogic::OnStart() {
  const StartCheckResult checked = RunStartChecks(CollectAlbum());
  if (checked.outcome == StartCheckResult::Outcome::kFault) {
    MarkTracks();
    Show(StartFaultText(checked), MessageIcon::kWarning);
    const AlbumField& place = checked.place;
    switch (place.kind) {
      case AlbumField::Kind::kTitle: m_view.FocusText(TextField::kTitle); break;
      case AlbumField::Kind::kYomi: m_view.FocusText(TextField::kYomi); break;
      case AlbumField::Kind::kArtist: m_view.FocusText(TextField::kArtist); break;
      case AlbumField::Kind::kTrackName: m_view.FocusTrack(place.track - 1, TrackColumn::kName); break;
      case AlbumField::Kind::kTrackYomi: m_view.FocusTrack(place.track - 1, TrackColumn::kYomi); break;
    }
    return;
  }
  if (checked.outcome == StartCheckResult::Outcome::kNothingToEnter) {
    Show(checked.message, MessageIcon::kInformation);
    return;
  }
  // The worker reads the check marks from this snapshot, never from the view.
  const std::array<bool, kTrackCount> checks = CheckMarks();
  // A job that continues enters the interrupted track and the ticked ones after
  // it; the user's check marks stay as they are.
  const AlbumToEnter entry = m_resumeFrom ? ContinueFrom(checked.album, checks, *m_resumeFrom)
                                          : AlbumToEnter{checked.album, checks};
  const int delay = m_settings.m_nCommandDelay;
  const JobPlan plan = PlanJob(entry, delay);
  const long long minutes = std::max<long long>(1, (EstimateJobMs(plan, delay) + 30000) / 60000);
  std::string question = messages::StartQuestion(minutes);
  if (m_resumeFrom) question = messages::ResumeNote(PlaceLabel(*m_resumeFrom)) + "\n" + question;
  if (Show(question, MessageIcon::kInformation, MessageButtons::kYesNo) != Answer::kYes) return;
  RunEntryJob(entry, !m_resumeFrom || m_resumeFrom->IsStart(), plan);
}

std::map<std::string, std::string> TitlerLogic::ProgressItems(const AlbumToEnter& entry) const {
  const Album& album = entry.album;
  const std::array<bool, kTrackCount>& checks = entry.checks;
  const auto utf8 = [](const std::string& cp932) { return Cp932ToUtf8(cp932).value_or(std::string()); };
  std::map<std::string, std::string> items{{messages::kStatusTitle, utf8(album.Title)},
                                           {messages::kStatusYomi, utf8(album.Yomi)},
                                           {messages::kStatusArtist, utf8(album.Artist)}};
  // The job enters the checked rows that have a name, numbering them as the
  // whole album does when it continues from a track.
  std::vector<int> rows;
  for (int row = 0; row < kTrackCount; ++row) {
    const std::size_t r = static_cast<std::size_t>(row);
    if (checks[r] && !album.Tracks[r].Name.empty()) rows.push_back(row);
  }
  const int count = static_cast<int>(rows.size());
  for (int k = 0; k < count; ++k) {
    const int row = rows[static_cast<std::size_t>(k)];
    items[messages::TrackStatus(entry.tracksBefore + k + 1, entry.tracksBefore + count)] =
        messages::TrackItem(row + 1, utf8(album.Tracks[static_cast<std::size_t>(row)].Name));
  }
  return items;
}

void TitlerLogic::RunEntryJob(const AlbumToEnter& entry, bool headers, const JobPlan& plan) {
  if (!m_pLine) return;
  JobRunner& runner = m_pLine->Runner();
  runner.SetAlbum(entry);

  // Timed on the job's own clock from here, against the plan the question used.
  JobProgress progress(plan, m_settings.m_nCommandDelay, runner.JobClock());
  runner.SetObserver(&progress);
  m_progress.BeginJob(MakeJobTimeline(plan, ProgressItems(entry)), &progress);
  if (!runner.Start(m_progress)) {
    m_progress.EndJob();
    runner.SetObserver(nullptr);
    Show(messages::kThreadStartFailed, MessageIcon::kError);
    runner.Stop();
    return;
  }
  // Taken: the job under way is what continues (or the whole album).
  SetResume(std::nullopt);
  // However the window closes, the job ends here.
  m_progress.DoModal();
  runner.Stop();
  m_progress.EndJob();
  runner.SetObserver(nullptr);
  if (const std::optional<JobPlace> place = runner.StoppedAt()) AfterStop(*place);
  if (const std::optional<DeviceReport> report = m_pLine->AfterJob(entry, headers))
    m_view.ShowSimulatorDump(report->verdict, report->dump);
}

void TitlerLogic::AfterStop(const JobPlace& place) {
  // The device is left inside a field editor: say where, and how to get back.
  Show(messages::StoppedAt(PlaceLabel(place)) + "\n" + messages::kReturnToPlaylist, MessageIcon::kWarning);
  m_pLine->AfterStop();
  // Among the header fields continuing is starting over: nothing to ask.
  if (place.IsStart()) return;
  if (Show(messages::ResumeQuestion(PlaceLabel(place)), MessageIcon::kInformation, MessageButtons::kYesNo) ==
      Answer::kYes) {
    SetResume(place);
  }
}

}  // namespace vrellix
