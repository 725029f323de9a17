// The よみを一括推定 dialog: the readings it would fill in with their check
// boxes, the selected one's reading to pick or type, the names left unread.
// A view over its ReadingChoiceLogic.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "window/reading_choice_logic.h"
#include "window/reading_choice_view.h"

namespace Ui {
class CReadingChoiceDlgUi;
}

namespace vrellix {

class CReadingChoiceDlg : public QDialog, public ReadingChoiceView {
  Q_OBJECT

 public:
  // Shows choices; on OK they hold what was chosen. Not owned.
  explicit CReadingChoiceDlg(ReadingChoices& choices, QWidget* parent = nullptr);
  ~CReadingChoiceDlg() override;

  // OK and Enter.
  void accept() override;

  // ReadingChoiceView.
  void SetRows(const std::vector<std::string>& texts, const std::vector<bool>& checked) override;
  void SetRowText(int row, const std::string& text) override;
  bool IsRowChecked(int row) const override;
  void SelectRow(int row) override;
  void SetCandidates(const std::vector<std::string>& candidates, const std::string& text) override;
  std::string ReadingText() const override;
  void SetSkipped(const std::vector<std::string>& lines) override;
  void Close(bool ok) override;
  Answer ShowMessage(const Message& message) override;

 private:
  std::unique_ptr<Ui::CReadingChoiceDlgUi> m_ui;
  ReadingChoiceLogic m_logic;
};

}  // namespace vrellix
