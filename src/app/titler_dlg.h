// The main window (dialog 102): the album's three edit fields, the fifty-row
// track list and the load, save, start and exit buttons. A view over its
// TitlerLogic, which does what the window does; this class draws and wires.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>

#include "window/titler_logic.h"
#include "window/titler_view.h"

class QContextMenuEvent;
class QLineEdit;
class QTableWidgetItem;

namespace Ui {
class CTitlerDlgUi;
}

namespace vrellix {

class CEntryProgressDlg;
class FileNameSource;

class CTitlerDlg : public QDialog, public TitlerView {
  Q_OBJECT

 public:
  // Builds the window and initialises it through the logic (settings, port).
  // progress: the program's one progress window, which outlives this one.
  // files: where CSV file names come from; nullptr: file dialogs. Not owned.
  explicit CTitlerDlg(CEntryProgressDlg& progress, const TitlerOptions& options = {}, FileNameSource* files = nullptr,
                      QWidget* parent = nullptr);
  ~CTitlerDlg() override;

  TitlerLogic& Logic() { return m_logic; }

  // 終了: asks before the window ends.
  void accept() override;
  // Escape and the close box: ask only when there are unsaved changes.
  void reject() override;

  // TitlerView.
  std::string Text(TextField field) const override;
  void SetText(TextField field, const std::string& text) override;
  void ReplaceText(TextField field, const std::string& text) override;
  void ShowFieldMarks(TextField field, const FieldMarks& marks) override;
  void FocusText(TextField field) override;
  void FocusTrack(int row, TrackColumn column) override;
  void SelectText(TextField field) override;
  void FocusNextControl() override;
  int CurrentTrack() const override;
  std::string CellText(int row, TrackColumn column) const override;
  void SetCellText(int row, TrackColumn column, const std::string& text) override;
  bool IsChecked(int row) const override;
  void SetChecked(int row, bool checked) override;
  void MarkTrack(int row, const std::string& tip) override;
  void EnableControl(Control control, bool enabled) override;
  std::optional<std::string> AskFileName(FileQuestion question, const std::string& proposed) override;
  void SetCaption(const std::string& text) override;
  void SetLinkText(const std::string& text) override;
  bool EditTrack(TrackEdit& edit) override;
  bool EditPortSettings(PortSettingsEdit& edit) override;
  bool ChooseReadings(ReadingChoices& choices) override;
  void ShowSimulatorDump(const std::string& verdict, const std::string& dump) override;
  void ShowAbout() override;
  Answer ShowMessage(const Message& message) override;

 protected:
  // The window's menu of the logic.
  void contextMenuEvent(QContextMenuEvent* event) override;
  // The items of the system menu, where there is one.
  bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
  // The list takes what the window grows by; the buttons and the line under
  // them keep to the bottom.
  void resizeEvent(QResizeEvent* event) override;
  // Once on the screen, what the start found wrong comes over the window.
  void showEvent(QShowEvent* event) override;
  // Enter and F2 in the fields and on the list, as the logic says.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildTrackList();
  QTableWidgetItem* Cell(int row, int column) const;
  QLineEdit* Edit(TextField field) const;

  std::unique_ptr<Ui::CTitlerDlgUi> m_ui;
  Menu m_systemMenu;     // what was added to the system menu (Windows)
  QSize m_templateSize;  // the window's size as laid out, its smallest
  QRect m_listGeometry;  // the list's, at that size
  int m_buttonTop = 0;   // the buttons', at that size
  int m_linkTop = 0;     // the line's under them
  bool m_shown = false;
  std::unique_ptr<FileNameSource> m_pOwnFiles;
  FileNameSource* m_pFiles = nullptr;
  TitlerLogic m_logic;
};

}  // namespace vrellix
