// Where the main window gets the names of the CSV files to load and save.
// The program asks the user; tests supply names of their own.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace vrellix {

class FileNameSource {
 public:
  virtual ~FileNameSource() = default;
  // Nothing when the user cancelled.
  virtual std::optional<QString> OpenFileName(QWidget* parent) = 0;
  // Nothing when the user cancelled; the user has agreed to overwrite an existing file.
  virtual std::optional<QString> SaveFileName(QWidget* parent) = 0;
};

// File dialogs that first list the folder's CSV files ("*.csv" as the initial
// name), with no filter list and no default extension added.
class DialogFileNameSource final : public FileNameSource {
 public:
  std::optional<QString> OpenFileName(QWidget* parent) override;
  std::optional<QString> SaveFileName(QWidget* parent) override;
};

}  // namespace vrellix
