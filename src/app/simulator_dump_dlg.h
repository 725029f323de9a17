// After a job against the built-in simulator: what the simulated device now
// holds, one line per field, and any key the device could not have taken.
#pragma once

#include <QDialog>
#include <string>

namespace vrellix {

class CSimulatorDumpDlg : public QDialog {
  Q_OBJECT

 public:
  CSimulatorDumpDlg(const std::string& dump, QWidget* parent = nullptr);
};

}  // namespace vrellix
