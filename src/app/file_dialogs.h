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
  // Nothing when the user cancelled. proposed: the album file last loaded or
  // saved, or empty.
  virtual std::optional<QString> OpenFileName(QWidget* parent, const QString& proposed) = 0;
  // Nothing when the user cancelled; the user has agreed to overwrite an existing
  // file. A name typed without an extension has ".csv" added before that question.
  virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& proposed) = 0;
  // A CUE sheet to read; by default from the same source as album files.
  virtual std::optional<QString> OpenCueSheetName(QWidget* parent, const QString& proposed) {
    return OpenFileName(parent, proposed);
  }
};

// Qt's own file dialogs, started as StartOfFileDialog says (the current folder
// where it names none), with its filters.
class DialogFileNameSource final : public FileNameSource {
 public:
  std::optional<QString> OpenFileName(QWidget* parent, const QString& proposed) override;
  std::optional<QString> SaveFileName(QWidget* parent, const QString& proposed) override;
  // The same open dialog, first listing the folder's CUE sheets.
  std::optional<QString> OpenCueSheetName(QWidget* parent, const QString& proposed) override;
};

}  // namespace vrellix
