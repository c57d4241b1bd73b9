#include "ProgramDataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quor {

QString programDataFolder(const QString& programFolder, const QString& name) {
  const QDir program(programFolder);
  const QString beside = program.filePath(name);
  if (QFileInfo(beside).isDir()) return beside;
  return QDir::cleanPath(program.filePath(QStringLiteral(QUOR_DATA_FROM_BIN "/") + name));
}

QString programDataFolder(const QString& name) {
  return programDataFolder(QCoreApplication::applicationDirPath(), name);
}

}  // namespace quor
