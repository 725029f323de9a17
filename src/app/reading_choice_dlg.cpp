#include "app/reading_choice_dlg.h"

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/app_common.h"
#include "ui_reading_choice_dlg.h"

namespace vrellix {

CReadingChoiceDlg::CReadingChoiceDlg(ReadingChoices& choices, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CReadingChoiceDlgUi>()), m_logic(*this, choices) {
  m_ui->setupUi(this);
  PrepareFixedDialog(this);
  // Enter in the field would otherwise add the typed reading to the list.
  m_ui->reading->setInsertPolicy(QComboBox::NoInsert);
  connect(m_ui->ok, &QPushButton::clicked, this, &CReadingChoiceDlg::accept);
  connect(m_ui->cancel, &QPushButton::clicked, this, &QDialog::reject);
  m_logic.OnInitDialog();
  // Connected once the logic has filled the controls: what it puts in is no choice.
  connect(m_ui->readingRows, &QListWidget::currentRowChanged, this, [this](int row) { m_logic.OnRowSelected(row); });
  connect(m_ui->reading, &QComboBox::editTextChanged, this, [this]() { m_logic.OnReadingChanged(); });
}

CReadingChoiceDlg::~CReadingChoiceDlg() = default;

void CReadingChoiceDlg::accept() { m_logic.OnOk(); }

void CReadingChoiceDlg::SetRows(const std::vector<std::string>& texts, const std::vector<bool>& checked) {
  m_ui->readingRows->clear();
  for (std::size_t row = 0; row < texts.size(); ++row) {
    auto* item = new QListWidgetItem(ToQString(texts[row]), m_ui->readingRows);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked[row] ? Qt::Checked : Qt::Unchecked);
  }
}

void CReadingChoiceDlg::SetRowText(int row, const std::string& text) {
  if (QListWidgetItem* item = m_ui->readingRows->item(row)) item->setText(ToQString(text));
}

bool CReadingChoiceDlg::IsRowChecked(int row) const {
  const QListWidgetItem* item = m_ui->readingRows->item(row);
  return item && item->checkState() == Qt::Checked;
}

void CReadingChoiceDlg::SelectRow(int row) { m_ui->readingRows->setCurrentRow(row); }

void CReadingChoiceDlg::SetCandidates(const std::vector<std::string>& candidates, const std::string& text) {
  const QSignalBlocker quiet(m_ui->reading);
  m_ui->reading->clear();
  for (const std::string& candidate : candidates) m_ui->reading->addItem(ToQString(candidate));
  m_ui->reading->setEditText(ToQString(text));
}

std::string CReadingChoiceDlg::ReadingText() const { return ToUtf8(m_ui->reading->currentText()); }

void CReadingChoiceDlg::SetSkipped(const std::vector<std::string>& lines) {
  QStringList shown;
  for (const std::string& line : lines) shown << ToQString(line);
  m_ui->readingSkipped->setPlainText(shown.join('\n'));
}

void CReadingChoiceDlg::Close(bool ok) { done(ok ? QDialog::Accepted : QDialog::Rejected); }

Answer CReadingChoiceDlg::ShowMessage(const Message& message) { return vrellix::ShowMessage(this, message); }

}  // namespace vrellix
