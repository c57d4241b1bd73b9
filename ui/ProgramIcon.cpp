#include "ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace quor {

void paintProgramIcon(QPainter& painter, qreal s) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(40, 40, 40), s / 32));
  painter.setBrush(QColor(16, 48, 32));
  painter.drawRoundedRect(QRectF(s * 0.04, s * 0.04, s * 0.92, s * 0.92), s * 0.14, s * 0.14);
  painter.setPen(QPen(QColor(40, 110, 70), s / 48));
  painter.drawLine(QPointF(s * 0.1, s * 0.5), QPointF(s * 0.9, s * 0.5));
  QPainterPath wave;
  for (int i = 0; i <= 64; ++i) {
    const qreal t = i / 64.0;
    const QPointF point(s * (0.12 + 0.76 * t),
                        s * (0.5 - 0.3 * std::sin(2 * std::numbers::pi * t)));
    if (i == 0) {
      wave.moveTo(point);
    } else {
      wave.lineTo(point);
    }
  }
  painter.setPen(QPen(QColor(80, 255, 120), s / 14, Qt::SolidLine, Qt::RoundCap));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(wave);
}

QPixmap programPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  paintProgramIcon(painter, size);
  return pixmap;
}

QIcon programIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) icon.addPixmap(programPixmap(size));
  return icon;
}

}  // namespace quor
