#pragma once
#include <QString>

namespace quor {

// The application's title, the caption of its message boxes. It is kept apart from Qt's
// application display name: the platform adds that name to every window caption that does
// not end with it, so that the About window would read "About — Quor Generator 3.4".
QString applicationTitle();
void setApplicationTitle(const QString& title);

}  // namespace quor
