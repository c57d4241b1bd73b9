#pragma once
#include <QIcon>
#include <QPixmap>

namespace quor {

// The program's icon, drawn rather than loaded so that no binary artwork has to be kept:
// a sine period on a dark screen, in the manner of an oscilloscope.
QPixmap programPixmap(int size);
QIcon programIcon();

}  // namespace quor
