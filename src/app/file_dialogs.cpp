#include "app/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace vrellix {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& proposed,
                                     const QString& pattern = QStringLiteral("*.csv")) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  // The non-native dialog treats a wildcard typed as the name as a filter, which
  // is what "*.csv" as the initial name is for.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // The dialog adds the extension itself, so that it asks about overwriting the
  // file that will be written, not the name as typed.
  if (mode == QFileDialog::AcceptSave) dialog.setDefaultSuffix(QStringLiteral("csv"));
  const QFileInfo last(proposed);
  dialog.setDirectory(proposed.isEmpty() ? QDir::currentPath() : last.absolutePath());
  const bool offerName = mode == QFileDialog::AcceptSave && !proposed.isEmpty();
  dialog.selectFile(offerName ? last.fileName() : pattern);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace

std::optional<QString> DialogFileNameSource::OpenFileName(QWidget* parent, const QString& proposed) {
  return RunFileDialog(parent, QFileDialog::AcceptOpen, proposed);
}

std::optional<QString> DialogFileNameSource::SaveFileName(QWidget* parent, const QString& proposed) {
  return RunFileDialog(parent, QFileDialog::AcceptSave, proposed);
}

std::optional<QString> DialogFileNameSource::OpenCueSheetName(QWidget* parent, const QString& proposed) {
  return RunFileDialog(parent, QFileDialog::AcceptOpen, proposed, QStringLiteral("*.cue"));
}

}  // namespace vrellix
