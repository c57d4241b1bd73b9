// The waits of the hosts that run on a Qt event loop, against a device that plays on in real
// time as a sound card does (a timer stands for its thread).
#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>

#include "EventLoopWaits.h"
#include "FirstStart.h"
#include "MemoryControls.h"
#include "RecordingHost.h"
#include "ScriptInterpreter.h"
#include "SimulatedWaveOut.h"
#include "ToneEngine.h"
#include "ToneOutputAdapter.h"

namespace quor::testing {
namespace {

class LoopHost : public RecordingHost {
 public:
  void waitWhileBusy(const std::function<bool()>& busy) override { waitForEventsWhile(busy); }
  void delayStep() override { sleepOneDelayStep(); }
};

class EventLoopWaits : public ::testing::Test {
 protected:
  EventLoopWaits() {
    output.connectSwitch(engine.toneSwitch, [this] { ++stops; });
    prepareFirstStart(engine, controls);
    controls.setChecked(Control::chkLoop, false);
    controls.onHideScriptDialog = [this] { host.hideDialog(); };
    // Four times real time: 441 frames of 22050 per 5 ms.
    soundCard.setInterval(5);
    QObject::connect(&soundCard, &QTimer::timeout, [this] {
      ++ticks;
      device.advance(441);
    });
    soundCard.start();
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     [this] { ++sleeps; });
  }

  audio::SimulatedWaveOut device;
  MemoryControls controls;
  audio::ToneOutputAdapter output{device};
  ToneEngine engine{controls, output};
  LoopHost host;
  ScriptInterpreter interpreter{controls, engine, output, host};
  QTimer soundCard;
  int ticks = 0;
  int sleeps = 0;
  int stops = 0;
};

TEST_F(EventLoopWaits, TheWaitForAToneSleepsBetweenEventsAndEndsWithItsStop) {
  controls.setText(Control::Duration, "2");
  engine.toneSwitch.OnButtonClick();
  int asks = 0;
  waitForEventsWhile([&] {
    ++asks;
    return engine.values.ToneBusy;
  });
  EXPECT_EQ(stops, 1);
  EXPECT_FALSE(engine.values.ToneBusy);
  EXPECT_FALSE(output.active());
  EXPECT_EQ(device.played().size(), 5u * 16384);  // every whole buffer of the 2 s
  // Each pass waited for an event: the flag was asked about once for each event, not in a
  // loop that spins (which asks millions of times in a second).
  EXPECT_GT(sleeps, 0);
  EXPECT_LE(asks, 3 * ticks + 20);
}

TEST_F(EventLoopWaits, TheDialogsButtonsReachTheRunInsideItsWaits) {
  QTemporaryDir folder;
  const std::string file = folder.filePath("next.qvs").toStdString();
  std::ofstream(file) << "tone 440 60 0 50 100\ndelay 60\nend\n";
  QTimer::singleShot(200, [this] { interpreter.next(); });
  QTimer::singleShot(600, [this] { interpreter.next(); });
  QElapsedTimer clock;
  clock.start();
  interpreter.Runscript(file);
  EXPECT_EQ(host.statuses,
            (std::vector<std::string>{"Line 1: tone", "Line 2: delay", "Line 3: end"}));
  EXPECT_TRUE(host.messages.empty());
  // The second Next is handled after the delay step it falls into.
  EXPECT_GE(clock.elapsed(), 600);
  EXPECT_LT(clock.elapsed(), 30000);
}

}  // namespace
}  // namespace quor::testing
