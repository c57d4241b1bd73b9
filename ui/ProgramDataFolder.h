#pragma once
#include <QString>

namespace quor {

// A folder of the program's data, such as "help", found from the folder of the executable
// `programFolder`: beside it, as in the build folder, or in the data folder of an installed
// copy, whatever its prefix. When neither exists, the installed place is the answer, so that
// a message about missing data names where it belongs.
QString programDataFolder(const QString& programFolder, const QString& name);

// The same for the running program.
QString programDataFolder(const QString& name);

}  // namespace quor
