// The start-up sequence on a fake clock, and the splash window with its artwork.
#include <gtest/gtest.h>

#include <QBitmap>
#include <QLabel>
#include <string>
#include <utility>
#include <vector>

#include "ApplicationTitle.h"
#include "SplashArtwork.h"
#include "StartupSequence.h"
#include "TfrmStartSplash.h"

namespace quor::testing {
namespace {

// What the user sees of the start, on a clock that moves only when the start sleeps.
struct StartLog {
  int nowMs = 0;
  std::vector<std::pair<int, int>> opacities;  // (time, opacity)
  std::vector<std::pair<int, std::string>> events;
  int passesAfterLastChange = 0;
  void event(std::string what) { events.emplace_back(nowMs, std::move(what)); }
};

class FakeSplash : public SplashSurface {
 public:
  explicit FakeSplash(StartLog& log) : log_(log) {}
  ~FakeSplash() override { log_.event("destroyed"); }
  void showSplash() override { log_.event("shown"); }
  void setOpacity(int opacity) override {
    // Each change is painted in a message pass before the next one.
    if (!log_.opacities.empty()) {
      EXPECT_GE(log_.passesAfterLastChange, 1) << log_.nowMs;
    }
    log_.opacities.emplace_back(log_.nowMs, opacity);
    log_.passesAfterLastChange = 0;
  }
  void redraw() override { log_.event("redrawn"); }
  void hideSplash() override { log_.event("hidden"); }

 private:
  StartLog& log_;
};

class FakeClock : public StartupPacing {
 public:
  explicit FakeClock(StartLog& log) : log_(log) {}
  void sleep(int milliseconds) override { log_.nowMs += milliseconds; }
  void processMessages() override { ++log_.passesAfterLastChange; }

 private:
  StartLog& log_;
};

std::vector<std::pair<int, std::string>> runWith(StartLog& log, bool scriptRuns, bool& ended) {
  FakeClock clock(log);
  setApplicationTitle("Quor Generator 3.4");
  ended = runStartupSequence(std::make_unique<FakeSplash>(log), clock,
                             {[&] { log.event("windows as " + applicationTitle().toStdString()); },
                              [&] {
                                log.event("script");
                                return scriptRuns;
                              }});
  return log.events;
}

TEST(StartupSequence, TheSplashFadesInHoldsAndFadesOutAroundTheWindows) {
  StartLog log;
  bool ended = true;
  const auto events = runWith(log, false, ended);
  EXPECT_FALSE(ended);
  const std::vector<std::pair<int, int>> opacities = {
      {0, 16},     {20, 32},    {40, 48},    {60, 64},    {80, 80},    {100, 96},
      {120, 112},  {140, 128},  {160, 144},  {180, 160},  {200, 176},  {220, 192},
      {240, 208},  {260, 224},  {280, 240},  {1050, 240}, {1070, 224}, {1090, 208},
      {1110, 192}, {1130, 176}, {1150, 160}, {1170, 144}, {1190, 128}, {1210, 112},
      {1230, 96},  {1250, 80},  {1270, 64},  {1290, 48},  {1310, 32},  {1330, 16}};
  EXPECT_EQ(log.opacities, opacities);
  const std::vector<std::pair<int, std::string>> expected = {
      {0, "shown"},     {300, "redrawn"},    {1050, "windows as Quor Generator"},
      {1350, "hidden"}, {1350, "destroyed"}, {1350, "script"}};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(log.passesAfterLastChange, 1);
}

TEST(StartupSequence, AScriptOnTheCommandLineEndsTheProgram) {
  StartLog log;
  bool ended = false;
  runWith(log, true, ended);
  EXPECT_TRUE(ended);
}

// ---- the splash window ----

TEST(StartSplash, IsABorderlessWindowShapedByItsPicture) {
  TfrmStartSplash splash;
  EXPECT_EQ(splash.size(), QSize(535, 341));
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash.imgSplash()->geometry(), QRect(8, 9, 500, 300));
  const QImage picture = splash.imgSplash()->pixmap().toImage();
  const QRegion shape = splash.mask();
  // Corners of the window and of the picture are see-through, the middle of the picture not.
  for (const QPoint& point : {QPoint(0, 0), QPoint(534, 340), QPoint(8, 9), QPoint(507, 9)}) {
    EXPECT_FALSE(shape.contains(point)) << point.x() << "," << point.y();
  }
  EXPECT_TRUE(shape.contains(QPoint(8 + 250, 9 + 150)));
  // The shape is exactly the picture's pixels that are not pure red.
  for (int y = 0; y < picture.height(); y += 3) {
    for (int x = 0; x < picture.width(); x += 3) {
      const bool red = picture.pixelColor(x, y) == QColor(255, 0, 0);
      ASSERT_EQ(shape.contains(QPoint(x + 8, y + 9)), !red) << x << "," << y;
    }
  }
  splash.showSplash();
  EXPECT_EQ(splash.windowOpacity(), 0.0);
  splash.setOpacity(240);
  EXPECT_NEAR(splash.windowOpacity(), 240 / 255.0, 0.01);
  splash.hideSplash();
  EXPECT_FALSE(splash.isVisible());
}

// Edges against the see-through red are hard: a pixel blended with red would stand as a pink
// fringe around the shape. None of the artwork's own colours leans to red.
TEST(StartSplash, TheArtworkIsSeeThroughOnlyWherePureRedAndHasNoRedFringe) {
  const QImage picture = splashArtwork();
  EXPECT_EQ(picture.size(), QSize(500, 300));
  EXPECT_EQ(picture.format(), QImage::Format_RGB888);
  int red = 0, reddish = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      if (c == QColor(255, 0, 0)) {
        ++red;
      } else if (c.red() > c.green()) {
        ++reddish;
      }
    }
  }
  EXPECT_GT(red, 5000);                   // around the shape, and in it
  EXPECT_LT(red, picture.width() * 100);  // the picture is mostly opaque
  EXPECT_EQ(reddish, 0);
}

}  // namespace
}  // namespace quor::testing
