// The main window (dialog 102): the album's three edit fields, the fifty-row
// track list and the load, save, start and exit buttons. It owns the album, the
// link to the device and the entry job; the checks, the CSV file, the settings
// and the job itself are the core's.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include <array>

#include "album/album.h"
#include "link/serial_port.h"
#include "link/settings.h"
#include "link/stop_event.h"

class QContextMenuEvent;

namespace Ui {
class CTitlerDlgUi;
}

namespace vrellix {

namespace sim {
class SimulatedDevice;
}

class ByteChannel;
class Clock;
class EntryEngine;
class EntryJob;
class FileNameSource;
class KeyLink;

// The one serial port of the program; nullptr when none is open. The window's
// byte channel owns it and closes it.
extern CommHandle g_hComm;

struct TitlerOptions {
  // The built-in device simulator stands in for the serial port, on a virtual
  // clock, and a dialog shows what it holds after each job.
  bool simulate = false;
  // The clock of the job's waits; nullptr: the system clock (the virtual one
  // when simulating). Not owned.
  Clock* clock = nullptr;
  // Where CSV file names come from; nullptr: file dialogs. Not owned.
  FileNameSource* files = nullptr;
};

class CTitlerDlg : public QDialog {
  Q_OBJECT

 public:
  // Builds the window and initialises it: track list, settings file in the
  // current directory, serial port. A port that cannot be opened is reported
  // and leaves load, save and start disabled.
  explicit CTitlerDlg(const TitlerOptions& options = {}, QWidget* parent = nullptr);
  // Stops a running job and closes the port.
  ~CTitlerDlg() override;

  // The OK command (終了 or Enter): asks before the window ends.
  void accept() override;

  // Handlers of the buttons and the track list.
  void OnLoadCsv();
  void OnSaveCsv();
  void OnStart();
  void OnTrackCellClicked(int row, int column);
  void OnAbout();

  // The edited album as the window holds it now (texts saved from the fields).
  EditedAlbum CollectAlbum();
  // The entry form filled by the last Start that passed its checks.
  const Album& EntryAlbum() const { return m_album; }
  const LinkSettings& Settings() const { return m_settings; }
  // True while no job runs.
  bool IsJobIdle() const;

 protected:
  // Without a system menu of its own the window offers the About item here.
  void contextMenuEvent(QContextMenuEvent* event) override;
  // The About item of the system menu, where there is one.
  bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  void OnInitDialog();
  void BuildTrackList();
  bool OpenLink();
  void SaveTexts();
  void LoadTexts();
  void ApplyAlbum(const EditedAlbum& album);
  void RunEntryJob();
  void ShowSimulatorDump(const std::array<bool, kTrackCount>& checks);

  std::unique_ptr<Ui::CTitlerDlgUi> m_ui;
  TitlerOptions m_options;
  bool m_bAboutInSystemMenu = false;
  std::unique_ptr<FileNameSource> m_pOwnFiles;
  FileNameSource* m_pFiles = nullptr;

  // Texts exchanged with the edit fields 1003, 1004 and 1007 (UTF-8).
  std::string m_strTitle;
  std::string m_strYomi;
  std::string m_strArtist;
  Album m_album;

  std::string m_strSettingsPath;
  LinkSettings m_settings;
  PortFailure m_portFailure;  // why the port did not open

  StopEvent m_hStopEvent;
  std::unique_ptr<Clock> m_pOwnClock;
  Clock* m_pClock = nullptr;
  std::unique_ptr<ByteChannel> m_pChannel;
  const sim::SimulatedDevice* m_pSimulator = nullptr;  // owned through m_pChannel in simulator mode
  std::unique_ptr<KeyLink> m_pLink;
  std::unique_ptr<EntryEngine> m_pEngine;
  std::unique_ptr<EntryJob> m_pInputJob;
};

}  // namespace vrellix
