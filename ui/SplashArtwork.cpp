#include "SplashArtwork.h"

#include <QBitmap>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

#include "ProgramIcon.h"
#include "Version.h"

namespace quor {

namespace {

const QColor kSeeThrough(255, 0, 0);
const QColor kBezel(40, 40, 40);
const QColor kGrid(30, 84, 56);
const QColor kTrace(80, 255, 120);
const QColor kTitle(220, 255, 228);
const QColor kSubtitle(150, 215, 165);

const QRect kPanel(0, 30, 500, 270);
const QRect kScreen(32, 138, 400, 132);
const QPoint kBadgeCentre(72, 64);
constexpr int kBadgeRadius = 56;

// The outline against the see-through red is drawn without smoothing, so that no pixel is a
// blend of red that the colour key would leave standing as a pink fringe.
void paintOutline(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(Qt::NoPen);
  QLinearGradient shade(kPanel.topLeft(), kPanel.bottomLeft());
  shade.setColorAt(0, QColor(22, 62, 42));
  shade.setColorAt(1, QColor(8, 26, 17));
  painter.setBrush(shade);
  painter.drawRoundedRect(kPanel, 28, 28);
  painter.setBrush(kBezel);
  painter.drawEllipse(kBadgeCentre, kBadgeRadius, kBadgeRadius);
  // A speaker grille beside the screen: slots cut through the panel, see-through like the
  // background.
  painter.setBrush(kSeeThrough);
  for (int i = 0; i < 3; ++i) painter.drawRect(446 + 12 * i, 150, 6, 108);
}

void paintScreen(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(kBezel, 4));
  painter.setBrush(QColor(10, 30, 20));
  painter.drawRoundedRect(kScreen, 10, 10);
  painter.setPen(QPen(kGrid, 1));
  for (int x = kScreen.left() + 36; x < kScreen.right(); x += 36) {
    painter.drawLine(x, kScreen.top() + 4, x, kScreen.bottom() - 4);
  }
  for (int y = kScreen.top() + 33; y < kScreen.bottom(); y += 33) {
    painter.drawLine(kScreen.left() + 4, y, kScreen.right() - 4, y);
  }
  // A logarithmic sweep: the phase of a tone whose frequency grows by the same factor with
  // every step across the screen.
  QPainterPath trace;
  const double left = kScreen.left() + 10, width = kScreen.width() - 20;
  const double middle = kScreen.center().y(), amplitude = kScreen.height() * 0.36;
  constexpr double kStartCycles = 1.5, kGrowth = 8;  // frequency x8 across the screen
  for (int i = 0; i <= 1200; ++i) {
    const double t = i / 1200.0;
    const double cycles = kStartCycles * (std::pow(kGrowth, t) - 1) / std::log(kGrowth);
    const QPointF point(left + width * t,
                        middle - amplitude * std::sin(2 * std::numbers::pi * cycles));
    if (i == 0) {
      trace.moveTo(point);
    } else {
      trace.lineTo(point);
    }
  }
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(40, 160, 70), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(trace);
  painter.setPen(QPen(kTrace, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(trace);
}

void paintTexts(QPainter& painter) {
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  QFont title("DejaVu Sans");
  title.setStyleHint(QFont::SansSerif);
  title.setPixelSize(38);
  title.setBold(true);
  painter.setFont(title);
  painter.setPen(kTitle);
  painter.drawText(QRect(144, 58, 340, 46), Qt::AlignLeft | Qt::AlignVCenter, kProductName);
  QFont line = title;
  line.setBold(false);
  line.setPixelSize(15);
  painter.setFont(line);
  painter.setPen(kSubtitle);
  painter.drawText(QRect(146, 104, 330, 22), Qt::AlignLeft | Qt::AlignVCenter,
                   "Tones, sweeps and tone scripts");
  line.setPixelSize(12);
  painter.setFont(line);
  painter.drawText(QRect(300, 274, 168, 20), Qt::AlignRight | Qt::AlignVCenter,
                   QString("Version ") + kVersion);
}

}  // namespace

QImage splashArtwork() {
  QImage picture(kSplashArtworkWidth, kSplashArtworkHeight, QImage::Format_RGB32);
  picture.fill(kSeeThrough);
  QPainter painter(&picture);
  paintOutline(painter);
  paintScreen(painter);
  constexpr int kIcon = 78;
  painter.translate(kBadgeCentre - QPoint(kIcon / 2, kIcon / 2));
  paintProgramIcon(painter, kIcon);
  painter.resetTransform();
  paintTexts(painter);
  painter.end();
  return picture.convertToFormat(QImage::Format_RGB888);
}

QRegion nonRedRegion(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  // The mask's set bits are the pixels of the colour "in" it, which make no region of a bitmap.
  return QRegion(QBitmap::fromImage(rgb.createMaskFromColor(kSeeThrough.rgb(), Qt::MaskInColor)));
}

}  // namespace quor
