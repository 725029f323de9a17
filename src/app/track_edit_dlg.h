// The dialog in which one track's name and reading are edited (dialog 129).
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "reading/kana.h"

namespace Ui {
class CTrackEditDlgUi;
}

namespace vrellix {

class ReadingActions;

class CTrackEditDlg : public QDialog {
  Q_OBJECT

 public:
  // readings: where よみを推定 and かなに変換 (the fields' context menus) come
  // from; nullptr: the dialog offers neither. Not owned.
  explicit CTrackEditDlg(QWidget* parent = nullptr, ReadingActions* readings = nullptr);
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
  void SuggestReading();
  void ConvertName(KanaStyle style);
  int Number() const;

  std::unique_ptr<Ui::CTrackEditDlgUi> m_ui;
  ReadingActions* m_pReadings;
};

}  // namespace vrellix
