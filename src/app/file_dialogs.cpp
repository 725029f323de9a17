#include "app/file_dialogs.h"

#include <QDir>
#include <QFileDialog>

#include "app/app_common.h"
#include "window/file_dialog_start.h"

namespace vrellix {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, FileQuestion question, const QString& proposed) {
  const FileDialogStart start = StartOfFileDialog(question, ToUtf8(proposed));
  const bool save = question == FileQuestion::kSaveAlbum;
  QFileDialog dialog(parent);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The same dialog on every desktop: Qt's own.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // Qt takes the patterns from the labels' parentheses.
  QStringList filters;
  for (const FileFilter& filter : start.filters) filters << ToQString(filter.label);
  dialog.setNameFilters(filters);
  // The dialog adds the extension itself, so that it asks about overwriting the
  // file that will be written, not the name as typed.
  dialog.setDefaultSuffix(ToQString(start.extension));
  dialog.setDirectory(start.folder.empty() ? QDir::currentPath() : ToQString(start.folder));
  dialog.selectFile(ToQString(start.name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

}  // namespace

std::optional<QString> DialogFileNameSource::OpenFileName(QWidget* parent, const QString& proposed) {
  return RunFileDialog(parent, FileQuestion::kOpenAlbum, proposed);
}

std::optional<QString> DialogFileNameSource::SaveFileName(QWidget* parent, const QString& proposed) {
  return RunFileDialog(parent, FileQuestion::kSaveAlbum, proposed);
}

std::optional<QString> DialogFileNameSource::OpenCueSheetName(QWidget* parent, const QString& proposed) {
  return RunFileDialog(parent, FileQuestion::kOpenCueSheet, proposed);
}

}  // namespace vrellix
