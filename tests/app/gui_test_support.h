// Helpers for the window tests: answering modal boxes and menus without ever
// hanging, a pseudo-terminal transmitter, and the settings file of a test's
// working directory. (The clock that holds a job in a pause is
// support/holding_clock.h, shared with the window logic's tests.)
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/entry_progress_dlg.h"
#include "app/titler_dlg.h"
#include "support/holding_clock.h"
#include "support/scripted_transmitter.h"

class QWidget;

namespace vrellix::testing {

struct SeenBox {
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  QWidget* parent = nullptr;  // the window it was shown over, if any
  QRect geometry;             // where it stood on the screen
};

// Works through modal windows as they come up, one step each, in order. Every
// action runs from its own zero timer, so an action that opens a further modal
// window does not block the script. If nothing is to be done for too long, or a
// window comes up with no step left, that window is rejected: a test can fail,
// never hang.
class ModalScript final : public QObject {
 public:
  using Step = std::function<void(QWidget* modal)>;

  ModalScript();
  ~ModalScript() override;

  // Answers the next message box with button (records what it showed).
  void Answer(QMessageBox::StandardButton button);
  // Runs action on the next modal window that is not a message box, once ready
  // (if given) returns true.
  void OnDialog(Step action, std::function<bool()> ready = nullptr);
  // Runs action on the next popup menu (not modal, but it runs its own loop).
  void OnMenu(Step action);

  const std::vector<SeenBox>& Boxes() const { return m_boxes; }
  // Boxes' texts, in order.
  QStringList Texts() const;
  bool Done() const { return m_steps.empty(); }
  // Windows that came up with no step for them (and were rejected).
  int Unexpected() const { return m_unexpected; }

 private:
  struct Entry {
    enum Kind { kBox, kDialog, kMenu } kind;
    QMessageBox::StandardButton button;
    Step action;
    std::function<bool()> ready;
  };
  void Poll();
  bool PollMenu();

  QTimer m_timer;
  std::deque<Entry> m_steps;
  std::vector<SeenBox> m_boxes;
  bool m_bActionPending = false;
  int m_nIdleTicks = 0;
  int m_unexpected = 0;
};

// A temporary working directory for one test, made current while it lives.
class TempWorkDir {
 public:
  TempWorkDir();
  ~TempWorkDir();
  QString Path() const { return m_dir.path(); }
  std::string File(const char* name) const;
  // Writes rzt_input.ini naming device as the port (the "ｼﾘｱﾙﾎﾟｰﾄ名" key) and the
  // command delay.
  void WriteSettings(const std::string& device, int commandDelay = 0) const;

 private:
  QTemporaryDir m_dir;
  QString m_previous;
};

// The transmitter on a pseudo-terminal, answering each packet with ACK, or NAK
// when told to.
class PtyTransmitter {
 public:
  const std::string& DevicePath() const { return m_line.SlavePath(); }
  void SetNak(bool nak) { m_line.SetDefault({nak ? NAK : ACK}); }
  // The key code of every packet received, in order.
  std::vector<int> Keys() const { return m_line.Keys(); }
  int PacketCount() const { return static_cast<int>(m_line.PacketCount()); }

 private:
  ScriptedTransmitter m_line;
};

// The program's resources and Qt's Japanese translations, as CTitlerApp
// loads them, for a test program that opens main windows.
void SetUpWindowTests();

// Runs what has been posted to the window thread so far, and what that posts
// in turn, until nothing is left: a report that came after its job ended has
// shown by then.
void DrainPostedEvents();

// What a window under test starts from: a pty transmitter and a working
// directory whose settings name it, and the program's one progress window.
class WindowRig {
 public:
  // A new pty and directory, and a shown main window on them. In simulator
  // mode the settings name a port that does not exist, so none is opened.
  std::unique_ptr<CTitlerDlg> Open(const TitlerOptions& options = {}, FileNameSource* files = nullptr);
  void Reset();
  PtyTransmitter& Pty() { return *m_pty; }
  TempWorkDir& Dir() { return *m_dir; }
  // Made by the first Open; outlives every window of the rig.
  CEntryProgressDlg& Progress() { return *m_progress; }

 private:
  std::unique_ptr<CEntryProgressDlg> m_progress;
  std::unique_ptr<PtyTransmitter> m_pty;
  std::unique_ptr<TempWorkDir> m_dir;
};

// Clicks a push button found by object name inside window.
void ClickButton(QWidget* window, const char* name);

}  // namespace vrellix::testing
