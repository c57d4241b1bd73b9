#pragma once
#include <QSettings>
#include <QString>
#include <memory>

namespace quor {

inline constexpr const char* kSettingsOrganisation = "Nerovane";
inline constexpr const char* kSettingsApplication = "Quor Generator";

// Opens the application's settings store. On Linux the INI file
// "Nerovane/Quor Generator.conf" in the user's configuration folder, looked up afresh at every
// call so that XDG_CONFIG_HOME set while the program runs is honoured; on Windows the
// registry through QSettings' native store.
std::unique_ptr<QSettings> openApplicationSettings();

// The file path (Linux) or registry path (Windows) that openApplicationSettings uses.
QString applicationSettingsPath();

}  // namespace quor
