#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "FlashWindow.h"

// Runs the flash on a real X server (an Xvfb of its own) and takes screenshots of the whole
// screen while it waits: every pixel must be black, then white, over a grey window that stands
// for the user's desktop.

namespace quor {
namespace {

std::string xvfbMissing;  // why the tests are skipped, when they are

constexpr QRgb kDesktopGrey = 0xFF808080;

// Whether every pixel of the screen has the given colour, waiting up to a second for the
// X server to show what the program painted.
bool screenIs(QRgb colour) {
  QScreen* screen = QGuiApplication::primaryScreen();
  QElapsedTimer timer;
  timer.start();
  do {
    QCoreApplication::processEvents();
    const QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (shot.size() != screen->size()) continue;
    bool uniform = true;
    for (int y = 0; y < shot.height() && uniform; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
      for (int x = 0; x < shot.width(); ++x) {
        if ((line[x] | 0xFF000000) != colour) {
          uniform = false;
          break;
        }
      }
    }
    if (uniform) return true;
  } while (timer.elapsed() < 1000);
  return false;
}

// Real message passes; each wait is a look at the screen instead of a sleep.
class ScreenshotPacing : public FlashPacing {
 public:
  void processMessages() override { QCoreApplication::processEvents(); }
  void wait(int) override {
    const QRgb expected = sights.size() % 2 == 0 ? 0xFF000000 : 0xFFFFFFFF;
    sights.push_back(screenIs(expected));
  }
  std::vector<bool> sights;
};

TEST(FlashOnScreen, CoversTheWholeScreenBlackThenWhite) {
  if (!xvfbMissing.empty()) GTEST_SKIP() << xvfbMissing;

  QWidget desktop;
  QPalette grey = desktop.palette();
  grey.setColor(QPalette::Window, QColor::fromRgb(kDesktopGrey));
  desktop.setPalette(grey);
  desktop.setAutoFillBackground(true);
  desktop.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  desktop.setGeometry(QRect(QPoint(0, 0), QGuiApplication::primaryScreen()->size()));
  desktop.show();
  ASSERT_TRUE(screenIs(kDesktopGrey)) << "the grey desktop window did not appear";

  TfrmFlash flash;
  ScreenshotPacing pacing;
  runScreenFlash(flash, pacing);

  const std::vector<bool> expected(6, true);
  EXPECT_EQ(pacing.sights, expected) << "screenshots: black, white, black, white, black, white";
  EXPECT_TRUE(screenIs(kDesktopGrey)) << "the flash window did not go away";
}

}  // namespace
}  // namespace quor

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const QString xvfb = QStandardPaths::findExecutable("Xvfb");
  if (xvfb.isEmpty()) {
    quor::xvfbMissing = "Xvfb is not installed (Debian package xvfb)";
    return RUN_ALL_TESTS();
  }
  // Xvfb picks a free display number itself and tells it through -displayfd.
  QProcess server;
  server.start(xvfb, {"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
  QString display;
  if (server.waitForStarted(5000)) {
    while (!server.canReadLine() && server.waitForReadyRead(10000)) {
    }
    display = QString::fromUtf8(server.readLine()).trimmed();
  }
  int result = 0;
  if (display.isEmpty()) {
    quor::xvfbMissing = "Xvfb did not start: " + server.errorString().toStdString();
    result = RUN_ALL_TESTS();
  } else {
    qputenv("DISPLAY", (":" + display).toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");
    {
      QApplication app(argc, argv);
      result = RUN_ALL_TESTS();
    }
  }
  if (server.state() != QProcess::NotRunning) {
    server.terminate();
    if (!server.waitForFinished(3000)) server.kill();
    server.waitForFinished(3000);
  }
  return result;
}
