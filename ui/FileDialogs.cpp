#include "FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace quor {

QString QtFileDialogs::openFileName(const FileDialogRequest& request) {
  return choose(request, false);
}

QString QtFileDialogs::saveFileName(const FileDialogRequest& request) {
  return choose(request, true);
}

QString QtFileDialogs::choose(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(parent_, request.title);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilter(qtNameFilters(request.filter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return withDefaultExtension(dialog.selectedFiles().constFirst(), request.defaultExtension);
}

QString qtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      if (pattern == "*.*") pattern = "*";
    }
    filters << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return filters.join(";;");
}

QString withDefaultExtension(const QString& fileName, const QString& extension) {
  if (fileName.isEmpty() || extension.isEmpty()) return fileName;
  // "name." has an empty extension, which the default one fills.
  if (fileName.endsWith('.')) return fileName + extension;
  if (!QFileInfo(fileName).suffix().isEmpty()) return fileName;
  return fileName + "." + extension;
}

}  // namespace quor
