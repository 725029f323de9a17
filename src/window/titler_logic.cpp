#include "window/titler_logic.h"

#include <utility>

#include "album/album_csv.h"
#include "messages/messages.h"
#include "sim/simulated_run.h"
#include "text/trim.h"
#include "validate/input_checks.h"
#include "window/simulator_verdict.h"

namespace vrellix {

CommHandle g_hComm = nullptr;

TitlerLogic::TitlerLogic(TitlerView& view, ProgressLogic& progress, const TitlerOptions& options)
    : m_view(view), m_progress(progress), m_options(options) {}

TitlerLogic::~TitlerLogic() {
  // The runner would stop the job itself; stopping here keeps its warning
  // while the views still stand.
  if (m_pRunner && !m_pRunner->IsIdle()) m_pRunner->Stop();
  // Closes the port.
  m_pRunner.reset();
  if (!m_options.simulate) g_hComm = nullptr;
}

Answer TitlerLogic::Show(const std::string& text, MessageIcon icon, MessageButtons buttons) {
  return m_view.ShowMessage({text, icon, buttons});
}

void TitlerLogic::OnInitDialog() {
  m_strSettingsPath = SettingsPath();
  // The values read are used even when they could not be written back.
  if (!LoadIniSettings(m_strSettingsPath, m_settings))
    Show(SettingsWriteFailureMessage(m_strSettingsPath), MessageIcon::kWarning);

  if (!OpenLink()) {
    Show(PortFailureMessage(m_settings, m_portFailure), MessageIcon::kError);
    for (Control control : {Control::kLoad, Control::kSave, Control::kStart}) m_view.EnableControl(control, false);
  }
  LoadTexts();
}

bool TitlerLogic::OpenLink() {
  if (m_options.simulate) {
    // The job runs on the clock that times the simulator's replies.
    sim::SimulatorRunner simulator = sim::MakeSimulatorRunner(m_options.simulator, m_settings.m_nCommandDelay,
                                                              m_options.clock);
    m_pSimulator = simulator.device;
    m_pRunner = std::move(simulator.runner);
    return true;
  }
  g_hComm = nullptr;
  std::unique_ptr<SerialChannel> port = OpenTransmitterPort(PortDeviceName(m_settings), &m_portFailure);
  if (!port) return false;
  g_hComm = port->Handle();
  if (m_options.clock) {
    m_pRunner = std::make_unique<JobRunner>(std::move(port), *m_options.clock, m_settings.m_nCommandDelay);
  } else {
    m_pRunner = std::make_unique<JobRunner>(std::move(port), std::make_unique<SystemClock>(),
                                            m_settings.m_nCommandDelay);
  }
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
}

std::array<bool, kTrackCount> TitlerLogic::CheckMarks() const {
  std::array<bool, kTrackCount> checks{};
  for (int row = 0; row < kTrackCount; ++row) checks[static_cast<std::size_t>(row)] = m_view.IsChecked(row);
  return checks;
}

bool TitlerLogic::IsJobIdle() const { return !m_pRunner || m_pRunner->IsIdle(); }

bool TitlerLogic::OnExit() {
  if (Show(messages::kExitQuestion, MessageIcon::kInformation, MessageButtons::kYesNo) != Answer::kYes) return false;
  SaveTexts();
  return true;
}

void TitlerLogic::OnTrackCellClicked(int row, int column) {
  SaveTexts();
  // The number column holds the check box: a click there only toggles it.
  if (row < 0 || row >= kTrackCount || column < static_cast<int>(TrackColumn::kName) ||
      column > static_cast<int>(TrackColumn::kYomi))
    return;
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
}

void TitlerLogic::OnLoadCsv() {
  const std::optional<std::string> path = m_view.AskFileName(FileQuestion::kOpenAlbum);
  if (!path) return;
  // The core replaces the album only when the whole file was read.
  EditedAlbum album = CollectAlbum();
  const CsvResult result = LoadAlbumCsv(*path, album, CountUnenterable);
  if (!result.ok) {
    Show(result.message, MessageIcon::kWarning);
    return;
  }
  ApplyAlbum(album);
}

void TitlerLogic::OnSaveCsv() {
  const EditedAlbum album = CollectAlbum();
  const std::optional<std::string> path = m_view.AskFileName(FileQuestion::kSaveAlbum);
  if (!path) return;
  const CsvResult result = SaveAlbumCsv(*path, album);
  Show(result.message, result.ok ? MessageIcon::kInformation : MessageIcon::kWarning);
}

void TitlerLogic::OnStart() {
  StartCheckResult checked = RunStartChecks(CollectAlbum());
  if (checked.outcome == StartCheckResult::kFault) {
    Show(checked.message, MessageIcon::kWarning);
    return;
  }
  if (checked.outcome == StartCheckResult::kNothingToEnter) {
    Show(checked.message, MessageIcon::kInformation);
    return;
  }
  if (Show(messages::kStartQuestion, MessageIcon::kInformation, MessageButtons::kYesNo) != Answer::kYes) return;
  m_album = std::move(checked.album);
  RunEntryJob();
}

void TitlerLogic::RunEntryJob() {
  if (!m_pRunner) return;
  // The worker reads the check marks from this snapshot, never from the view.
  const std::array<bool, kTrackCount> checks = CheckMarks();
  m_pRunner->SetAlbum(m_album, checks);

  m_progress.BeginJob();
  if (!m_pRunner->Start(m_progress)) {
    m_progress.EndJob();
    Show(messages::kThreadStartFailed, MessageIcon::kError);
    m_pRunner->Stop();
    return;
  }
  // However the window closes, the job ends here.
  m_progress.DoModal();
  m_pRunner->Stop();
  m_progress.EndJob();
  if (m_pSimulator) ShowSimulatorDump(checks);
}

void TitlerLogic::ShowSimulatorDump(const std::array<bool, kTrackCount>& checks) {
  const sim::SimulatedRun run = JudgeSimulatedJob(*m_pSimulator, m_album, checks, m_pRunner->Result());
  m_view.ShowSimulatorDump(SimulatorVerdict(run), m_pSimulator->Dump());
}

}  // namespace vrellix
