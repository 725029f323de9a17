#include "app/track_edit_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <optional>

#include "app/app_common.h"
#include "ui_track_edit_dlg.h"
#include "messages/messages.h"
#include "validate/input_checks.h"
#include "window/reading_actions.h"

namespace vrellix {

CTrackEditDlg::CTrackEditDlg(QWidget* parent, ReadingActions* readings)
    : QDialog(parent), m_ui(std::make_unique<Ui::CTrackEditDlgUi>()), m_pReadings(readings) {
  m_ui->setupUi(this);
  PrepareFixedDialog(this);
  connect(m_ui->ctl1, &QPushButton::clicked, this, &CTrackEditDlg::accept);
  connect(m_ui->ctl2, &QPushButton::clicked, this, &QDialog::reject);
  m_ui->ctl1007->setFont(FixedWidthFont());
  m_ui->ctl1008->setFont(FixedWidthFont());
  connect(m_ui->ctl1007, &QLineEdit::textChanged, this, &CTrackEditDlg::ShowMarks);
  connect(m_ui->ctl1008, &QLineEdit::textChanged, this, &CTrackEditDlg::ShowMarks);
  if (!m_pReadings) return;
  ExtendContextMenu(m_ui->ctl1007, [this](QMenu& menu) {
    menu.addAction(ToQString(messages::kToHiraganaItem), this, [this]() { ConvertName(KanaStyle::kHiragana); });
    menu.addAction(ToQString(messages::kToKatakanaItem), this, [this]() { ConvertName(KanaStyle::kKatakana); });
  });
  ExtendContextMenu(m_ui->ctl1008, [this](QMenu& menu) {
    menu.addAction(ToQString(messages::kSuggestReadingItem), this, [this]() { SuggestReading(); });
  });
}

int CTrackEditDlg::Number() const { return m_ui->ctl1003->text().toInt(); }

void CTrackEditDlg::SuggestReading() {
  WidgetMessages view(this);
  const std::optional<std::string> reading =
      m_pReadings->SuggestReading(view, AlbumField{AlbumField::Kind::kTrackYomi, Number()},
                                  ToUtf8(m_ui->ctl1007->text()), ToUtf8(m_ui->ctl1008->text()));
  if (reading) ReplaceTextUndoably(m_ui->ctl1008, ToQString(*reading));
}

void CTrackEditDlg::ConvertName(KanaStyle style) {
  WidgetMessages view(this);
  const std::optional<std::string> name = m_pReadings->ConvertName(
      view, AlbumField{AlbumField::Kind::kTrackName, Number()}, ToUtf8(m_ui->ctl1007->text()), style);
  if (name) ReplaceTextUndoably(m_ui->ctl1007, ToQString(*name));
}

void CTrackEditDlg::ShowMarks() {
  ShowFieldMarks(m_ui->ctl1007, m_ui->ctl1033, MarkField(ToUtf8(m_ui->ctl1007->text()), CheckMode::kGeneral));
  ShowFieldMarks(m_ui->ctl1008, m_ui->ctl1034, MarkField(ToUtf8(m_ui->ctl1008->text()), CheckMode::kReading));
}

CTrackEditDlg::~CTrackEditDlg() = default;

int CTrackEditDlg::DoModal() {
  m_ui->ctl1007->setText(ToQString(m_strName));
  m_ui->ctl1003->setText(ToQString(m_strNumber));
  m_ui->ctl1008->setText(ToQString(m_strYomi));
  ShowMarks();
  m_ui->ctl1007->setFocus();
  return exec();
}

void CTrackEditDlg::SaveFields() {
  m_strName = ToUtf8(m_ui->ctl1007->text());
  m_strNumber = ToUtf8(m_ui->ctl1003->text());
  m_strYomi = ToUtf8(m_ui->ctl1008->text());
}

void CTrackEditDlg::accept() {
  SaveFields();
  if (const auto fault = CheckTrackEdit(m_strName, m_strYomi)) {
    // The fields keep what the user typed, so it can be corrected.
    ShowMessage(this, {*fault, MessageIcon::kWarning});
    return;
  }
  QDialog::accept();
}

}  // namespace vrellix
