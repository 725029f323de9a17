// The main window's behaviour (dialog 102), apart from how it draws: the edited
// album, start-up (settings, port), the load, save and start buttons, the track
// cell clicks, the exit question and the end of the program. A toolkit's main
// window implements TitlerView, owns one TitlerLogic and calls its handlers;
// the Start button's handler, OnStart, is what starts a job.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "album/album.h"
#include "job/job_runner.h"
#include "link/clock.h"
#include "link/serial_port.h"
#include "link/settings.h"
#include "sim/simulated_device.h"
#include "window/progress_logic.h"
#include "window/titler_view.h"

namespace vrellix {

// The one serial port of the program; nullptr when none is open. The job
// runner's channel owns it and closes it.
extern CommHandle g_hComm;

struct TitlerOptions {
  // The built-in device simulator stands in for the serial port, on a virtual
  // clock, and the window shows what it holds after each job.
  bool simulate = false;
  // How the simulated device behaves (a line that refuses keys, for tests).
  sim::SimulatorOptions simulator;
  // The clock of the job's waits; nullptr: the system clock (the simulator's
  // virtual one when simulating). Not owned.
  Clock* clock = nullptr;
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
  // of the current directory, warning when the write-back failed, and opens
  // the port or the simulator. A port that cannot be opened is reported and
  // leaves load, save and start disabled.
  void OnInitDialog();

  // The OK command (終了, or Enter): asks. True when the window may end; the
  // edit fields' texts are then saved.
  bool OnExit();

  void OnLoadCsv();
  void OnSaveCsv();
  // Runs the Start checks, asks, and runs the job with the progress window
  // until it ends; then, on the simulator, shows what the device holds.
  void OnStart();
  // A click on the track list; row -1 when it hit no row. The name and reading
  // columns open the track edit dialog; the number column only toggles the check.
  void OnTrackCellClicked(int row, int column);

  // The entry form filled by the last Start that passed its checks.
  const Album& EntryAlbum() const { return m_album; }
  const LinkSettings& Settings() const { return m_settings; }
  // True while no job runs.
  bool IsJobIdle() const;
  // What jobs run through; nullptr while no port or simulator is open.
  JobRunner* Runner() { return m_pRunner.get(); }

 private:
  bool OpenLink();
  // The edited album as the view holds it now (texts saved from the fields).
  EditedAlbum CollectAlbum();
  void SaveTexts();
  void LoadTexts();
  void ApplyAlbum(const EditedAlbum& album);
  std::array<bool, kTrackCount> CheckMarks() const;
  void RunEntryJob();
  void ShowSimulatorDump(const std::array<bool, kTrackCount>& checks);
  Answer Show(const std::string& text, MessageIcon icon, MessageButtons buttons = MessageButtons::kOk);

  TitlerView& m_view;
  ProgressLogic& m_progress;
  TitlerOptions m_options;

  // Texts exchanged with the edit fields (UTF-8).
  std::string m_strTitle;
  std::string m_strYomi;
  std::string m_strArtist;
  Album m_album;

  std::string m_strSettingsPath;
  LinkSettings m_settings;
  PortFailure m_portFailure;  // why the port did not open

  std::unique_ptr<JobRunner> m_pRunner;
  const sim::SimulatedDevice* m_pSimulator = nullptr;  // owned by m_pRunner in simulator mode
};

}  // namespace vrellix
