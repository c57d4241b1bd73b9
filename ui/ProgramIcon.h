#pragma once
#include <QIcon>
#include <QPixmap>

class QPainter;

namespace quor {

// The program's icon, drawn rather than loaded so that no binary artwork has to be kept:
// a sine period on a dark screen, in the manner of an oscilloscope. The installed icon files
// are drawn from the same painting.
void paintProgramIcon(QPainter& painter, qreal size);
QPixmap programPixmap(int size);
QIcon programIcon();

}  // namespace quor
