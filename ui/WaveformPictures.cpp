#include "WaveformPictures.h"

#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <numbers>

namespace quor {

namespace {

constexpr int kSide = 16;
const QColor kSeeThrough(255, 0, 0);
const QColor kTrace(0, 0, 128);
const QColor kAxis(128, 128, 128);

// One period across the picture; y = 8 is the zero line, amplitude 6 pixels.
QPolygon trace(const QString& name) {
  QPolygon points;
  if (name == "SQUARE") {
    points << QPoint(1, 8) << QPoint(1, 2) << QPoint(8, 2) << QPoint(8, 14) << QPoint(14, 14)
           << QPoint(14, 8);
  } else if (name == "TRIANGULAR") {
    points << QPoint(1, 8) << QPoint(4, 2) << QPoint(10, 14) << QPoint(14, 7);
  } else {
    for (int x = 1; x <= 14; ++x) {
      const double phase = 2 * std::numbers::pi * (x - 1) / 13.0;
      points << QPoint(x, static_cast<int>(std::lround(8 - 6 * std::sin(phase))));
    }
  }
  return points;
}

QImage withBrushForRed(const QImage& picture, const QColor& brush) {
  QImage image = picture.convertToFormat(QImage::Format_RGB32);
  const QRgb red = kSeeThrough.rgb();
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0xFFFFFF) == (red & 0xFFFFFF)) line[x] = brush.rgb();
    }
  }
  return image;
}

}  // namespace

QImage waveformPicture(const QString& name) {
  if (name != "SINE" && name != "SQUARE" && name != "TRIANGULAR") return {};
  QImage image(kSide, kSide, QImage::Format_RGB32);
  image.fill(kSeeThrough);
  QPainter painter(&image);  // no antialiasing: every pixel is either red or drawn
  painter.setPen(kAxis);
  painter.drawLine(0, 8, kSide - 1, 8);
  painter.setPen(kTrace);
  painter.drawPolyline(trace(name));
  return image;
}

void WaveFormDrawItem(QPainter& painter, const QRect& rect, const QImage& picture,
                      const QString& text, const QColor& brush, const QColor& textColour) {
  painter.save();
  painter.setClipRect(rect);
  painter.fillRect(rect, brush);
  int textLeft = 24;
  if (!picture.isNull()) {
    const QRect target(rect.left() + 2, rect.top() + 3, picture.width(), picture.height() + 1);
    painter.drawImage(target, withBrushForRed(picture, brush));
    textLeft = picture.width() + 8;
  }
  painter.setPen(textColour);
  painter.drawText(
      QRect(rect.left() + textLeft, rect.top() + 1, rect.width() - textLeft, rect.height() - 1),
      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
  painter.restore();
}

}  // namespace quor
