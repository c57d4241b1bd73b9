#include "AppSettingsFile.h"

#include <QStandardPaths>

namespace quor {

#ifdef Q_OS_WIN

std::unique_ptr<QSettings> openApplicationSettings() {
  return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                     kSettingsOrganisation, kSettingsApplication);
}

QString applicationSettingsPath() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, kSettingsOrganisation,
                   kSettingsApplication)
      .fileName();
}

#else

QString applicationSettingsPath() {
  // QSettings resolves its default folders once per process; this lookup reads the
  // environment every time.
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return folder + "/" + kSettingsOrganisation + "/" + kSettingsApplication + ".conf";
}

std::unique_ptr<QSettings> openApplicationSettings() {
  return std::make_unique<QSettings>(applicationSettingsPath(), QSettings::IniFormat);
}

#endif

}  // namespace quor
