// The dialog in which one track's name and reading are edited (dialog 129): a
// view over its TrackEditLogic.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "window/track_edit_logic.h"
#include "window/track_edit_view.h"

class QContextMenuEvent;
class QLineEdit;

namespace Ui {
class CTrackEditDlgUi;
}

namespace vrellix {

class CTrackEditDlg : public QDialog, public TrackEditView {
  Q_OBJECT

 public:
  // Shows edit; on OK edit holds the texts typed. readings: what よみを推定 and
  // かなに変換 (the fields' context menus) offer; nullptr: the dialog offers
  // neither. Neither is owned.
  explicit CTrackEditDlg(TrackEdit& edit, ReadingActions* readings = nullptr, QWidget* parent = nullptr);
  ~CTrackEditDlg() override;

  // OK and Enter: closes only once the logic has passed the texts.
  void accept() override;

  // TrackEditView.
  std::string Text(TrackEditField field) const override;
  void SetText(TrackEditField field, const std::string& text) override;
  void ReplaceText(TrackEditField field, const std::string& text) override;
  void SetNumber(const std::string& number) override;
  void ShowFieldMarks(TrackEditField field, const FieldMarks& marks) override;
  void FocusText(TrackEditField field) override;
  void SelectText(TrackEditField field) override;
  void Close(bool ok) override;
  Answer ShowMessage(const Message& message) override;

 protected:
  // Beside the fields: both fields' actions, as each field's own menu has its own.
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QLineEdit* Edit(TrackEditField field) const;

  std::unique_ptr<Ui::CTrackEditDlgUi> m_ui;
  TrackEditLogic m_logic;
};

}  // namespace vrellix
