#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <chrono>
#include <string>
#include <vector>

#include "FlashWindow.h"
#include "FlashWindowPacing.h"
#include "FlashWindowSequence.h"
#include "MemoryControls.h"
#include "ScreensaverRule.h"

namespace quor {
namespace {

// Writes every step of a flash into one log, surface and pacing alike, on a fake clock.
class StepLog : public FlashSurface, public FlashPacing {
 public:
  void showSurface() override { log.push_back("show"); }
  void hideSurface() override { log.push_back("hide"); }
  void place(int left, int top, int width, int height) override {
    log.push_back("place " + std::to_string(left) + "," + std::to_string(top) + " " +
                  std::to_string(width) + "x" + std::to_string(height));
  }
  void setBackground(uint32_t rgb) override {
    log.push_back(rgb == 0 ? "black" : rgb == 0xFFFFFF ? "white" : "colour " + std::to_string(rgb));
  }
  FlashScreenSize screenSize() const override { return {1024, 768}; }
  void processMessages() override { log.push_back("messages"); }
  void wait(int milliseconds) override { log.push_back("wait " + std::to_string(milliseconds)); }

  std::vector<std::string> log;
};

TEST(FlashSequence, BlinksBlackAndWhiteThreeTimesBetweenMessagePasses) {
  StepLog steps;
  runScreenFlash(steps, steps);

  std::vector<std::string> expected{"show", "place 0,0 1024x768"};
  for (int cycle = 0; cycle < 3; ++cycle) {
    for (const char* step : {"messages", "black", "messages", "wait 200", "messages", "white",
                             "messages", "wait 200"}) {
      expected.push_back(step);
    }
  }
  for (const char* step : {"messages", "hide", "messages"}) expected.push_back(step);
  EXPECT_EQ(steps.log, expected);
}

// Looks at the real flash window whenever the flash waits, on a fake clock.
class WindowWatch : public FlashPacing {
 public:
  explicit WindowWatch(const TfrmFlash& window) : window_(window) {}
  void processMessages() override {
    ++passes;
    QCoreApplication::processEvents();
  }
  void wait(int milliseconds) override {
    clockMs += milliseconds;
    Sight sight;
    sight.atMs = clockMs;
    sight.colour = window_.background();
    sight.visible = window_.isVisible();
    sight.geometry = window_.geometry();
    sights.push_back(sight);
  }

  struct Sight {
    int atMs = 0;
    uint32_t colour = 0;
    bool visible = false;
    QRect geometry;
  };
  std::vector<Sight> sights;
  int clockMs = 0;
  int passes = 0;

 private:
  const TfrmFlash& window_;
};

TEST(FlashWindow, IsABorderlessBlackWindowAboveTheOthersCreatedHidden) {
  TfrmFlash window;
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "Flash");
  EXPECT_EQ(window.background(), kFlashBlack);
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window.isWindow());
  EXPECT_EQ(window.layout(), nullptr);
  EXPECT_TRUE(window.children().isEmpty());
}

TEST(FlashWindow, CoversTheScreenBlackThenWhiteFor200MsEachAndHidesAfterwards) {
  const QSize screen = QGuiApplication::primaryScreen()->size();
  ASSERT_GT(screen.width(), 0);
  TfrmFlash window;
  window.setGeometry(40, 50, 100, 80);  // anywhere before the flash
  WindowWatch watch(window);
  runScreenFlash(window, watch);

  ASSERT_EQ(watch.sights.size(), 6u);
  for (size_t i = 0; i < watch.sights.size(); ++i) {
    SCOPED_TRACE(i);
    const auto& sight = watch.sights[i];
    EXPECT_EQ(sight.atMs, 200 * static_cast<int>(i + 1));
    EXPECT_EQ(sight.colour, i % 2 == 0 ? kFlashBlack : kFlashWhite);
    EXPECT_TRUE(sight.visible);
    EXPECT_EQ(sight.geometry, QRect(QPoint(0, 0), screen));
  }
  EXPECT_EQ(watch.clockMs, 1200);
  EXPECT_EQ(watch.passes, 14);
  EXPECT_FALSE(window.isVisible());
}

TEST(FlashWindow, FlashesAgainAfterAFlash) {
  TfrmFlash window;
  WindowWatch watch(window);
  runScreenFlash(window, watch);
  runScreenFlash(window, watch);
  ASSERT_EQ(watch.sights.size(), 12u);
  EXPECT_EQ(watch.sights[6].colour, kFlashBlack);
  EXPECT_TRUE(watch.sights[6].visible);
  EXPECT_FALSE(window.isVisible());
}

TEST(EventLoopPacing, WaitsAtLeastTheTimeAndHandlesEventsMeanwhile) {
  EventLoopPacing pacing;
  bool fired = false;
  QTimer::singleShot(50, [&fired] { fired = true; });
  const auto start = std::chrono::steady_clock::now();
  pacing.wait(200);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(200));
  EXPECT_TRUE(fired);
}

TEST(EventLoopPacing, HandlesThePendingMessages) {
  EventLoopPacing pacing;
  bool ran = false;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [&ran] { ran = true; }, Qt::QueuedConnection);
  EXPECT_FALSE(ran);
  pacing.processMessages();
  EXPECT_TRUE(ran);
}

TEST(ToolsOptions, EachClickInvertsOnlyItsOwnMark) {
  MemoryControls controls;  // both options checked in the initial layout
  controls.setMenuChecked(MenuOption::FreqSlider1, false);

  Flashscreenwhenfinished1Click(controls);
  EXPECT_FALSE(controls.menuChecked(MenuOption::Flashscreenwhenfinished1));
  EXPECT_TRUE(controls.menuChecked(MenuOption::DisableScreensaver));
  Flashscreenwhenfinished1Click(controls);
  EXPECT_TRUE(controls.menuChecked(MenuOption::Flashscreenwhenfinished1));

  DisableScreensaverClick(controls);
  EXPECT_FALSE(controls.menuChecked(MenuOption::DisableScreensaver));
  EXPECT_TRUE(controls.menuChecked(MenuOption::Flashscreenwhenfinished1));
  DisableScreensaverClick(controls);
  EXPECT_TRUE(controls.menuChecked(MenuOption::DisableScreensaver));

  EXPECT_FALSE(controls.menuChecked(MenuOption::FreqSlider1));
  EXPECT_EQ(controls.flashes(), 0);
}

}  // namespace
}  // namespace quor
