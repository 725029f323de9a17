// After a job against the built-in simulator: what the simulated device now
// holds, one line per field, and any key the device could not have taken.
#pragma once

#include <QDialog>
#include <string>

namespace vrellix {

class CSimulatorDumpDlg : public QDialog {
  Q_OBJECT

 public:
  // verdict: whether the device holds the album (UTF-8); dump: its fields.
  CSimulatorDumpDlg(const std::string& verdict, const std::string& dump, QWidget* parent = nullptr);
};

}  // namespace vrellix
