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
  return completedFileName(dialog.selectedFiles().constFirst(), request.defaultExtension, !save);
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

QString completedFileName(const QString& chosen, const QString& extension, bool opening) {
  if (chosen.isEmpty() || extension.isEmpty()) return chosen;
  if (opening && QFileInfo::exists(chosen)) return chosen;
  // "name." has an empty extension, which the default one fills.
  if (chosen.endsWith('.')) return chosen + extension;
  if (!QFileInfo(chosen).suffix().isEmpty()) return chosen;
  return chosen + "." + extension;
}

}  // namespace quor
