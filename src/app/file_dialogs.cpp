#include "app/file_dialogs.h"

#include <QFileDialog>

namespace vrellix {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  // The non-native dialog treats a wildcard typed as the name as a filter, which
  // is what "*.csv" as the initial name is for.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.selectFile(QStringLiteral("*.csv"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace

std::optional<QString> DialogFileNameSource::OpenFileName(QWidget* parent) {
  return RunFileDialog(parent, QFileDialog::AcceptOpen);
}

std::optional<QString> DialogFileNameSource::SaveFileName(QWidget* parent) {
  return RunFileDialog(parent, QFileDialog::AcceptSave);
}

}  // namespace vrellix
