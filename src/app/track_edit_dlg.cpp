#include "app/track_edit_dlg.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>

#include "app/app_common.h"
#include "ui_track_edit_dlg.h"

namespace vrellix {

CTrackEditDlg::CTrackEditDlg(TrackEdit& edit, ReadingActions* readings, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CTrackEditDlgUi>()), m_logic(*this, edit, readings) {
  m_ui->setupUi(this);
  PrepareFixedDialog(this);
  connect(m_ui->ok, &QPushButton::clicked, this, &CTrackEditDlg::accept);
  connect(m_ui->cancel, &QPushButton::clicked, this, &QDialog::reject);
  for (TrackEditField field : {TrackEditField::kName, TrackEditField::kYomi}) {
    Edit(field)->setFont(FixedWidthFont());
    connect(Edit(field), &QLineEdit::textChanged, this, [this]() { m_logic.OnTextChanged(); });
    ExtendContextMenu(Edit(field), [this, field]() { return m_logic.FieldMenu(field); });
  }
  m_logic.OnInitDialog();
}

CTrackEditDlg::~CTrackEditDlg() = default;

QLineEdit* CTrackEditDlg::Edit(TrackEditField field) const {
  return field == TrackEditField::kName ? m_ui->trackName : m_ui->trackYomi;
}

std::string CTrackEditDlg::Text(TrackEditField field) const { return ToUtf8(Edit(field)->text()); }

void CTrackEditDlg::SetText(TrackEditField field, const std::string& text) { Edit(field)->setText(ToQString(text)); }

void CTrackEditDlg::ReplaceText(TrackEditField field, const std::string& text) {
  ReplaceTextUndoably(Edit(field), ToQString(text));
}

void CTrackEditDlg::SetNumber(const std::string& number) { m_ui->trackNumber->setText(ToQString(number)); }

void CTrackEditDlg::ShowFieldMarks(TrackEditField field, const FieldMarks& marks) {
  vrellix::ShowFieldMarks(Edit(field), field == TrackEditField::kName ? m_ui->trackNameCount : m_ui->trackYomiCount,
                          marks);
}

void CTrackEditDlg::FocusText(TrackEditField field) { Edit(field)->setFocus(); }

void CTrackEditDlg::SelectText(TrackEditField field) {
  Edit(field)->setFocus();
  Edit(field)->selectAll();
}

void CTrackEditDlg::Close(bool ok) { done(ok ? QDialog::Accepted : QDialog::Rejected); }

Answer CTrackEditDlg::ShowMessage(const Message& message) { return vrellix::ShowMessage(this, message); }

void CTrackEditDlg::accept() { m_logic.OnOk(); }

void CTrackEditDlg::contextMenuEvent(QContextMenuEvent* event) {
  const Menu items = m_logic.DialogMenu();
  if (items.empty()) return;
  QMenu menu(this);
  AddMenuItems(menu, items);
  menu.exec(event->globalPos());
}

}  // namespace vrellix
