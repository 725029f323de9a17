// The dialog in which one track's name and reading are edited (dialog 129).
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class CTrackEditDlgUi;
}

namespace vrellix {

class CTrackEditDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CTrackEditDlg(QWidget* parent = nullptr);
  ~CTrackEditDlg() override;

  // Loads the members into the fields and runs the dialog modally. On Accepted
  // the name and reading members hold the fields' texts as typed (untrimmed).
  int DoModal();

  // OK: refuses, with a warning and the dialog left open, a name or reading
  // over 32 bytes or a reading without a name.
  void accept() override;

  // UTF-8 texts exchanged with the fields 1007, 1003 and 1008.
  std::string m_strName;
  std::string m_strNumber;  // "1".."50", shown only
  std::string m_strYomi;

 private:
  void SaveFields();
  // The count and the faults of both fields, as they are typed.
  void ShowMarks();

  std::unique_ptr<Ui::CTrackEditDlgUi> m_ui;
};

}  // namespace vrellix
