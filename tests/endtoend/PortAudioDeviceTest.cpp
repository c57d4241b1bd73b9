#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "NotificationListener.h"
#include "PortAudioWaveOut.h"
#include "SoundServer.h"

namespace quor::audio {
namespace {

using Listener = NotificationListener;

// The real device through the private sound server.
class PortAudioDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string missing = quor::testing::soundServerMissingReason();
    if (missing.empty()) return;
    if (qEnvironmentVariableIsSet("CI")) FAIL() << missing;
    GTEST_SKIP() << missing;
  }
  // Runs the event loop until `done` or the time is up.
  template <typename F>
  static bool waitFor(F done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
      QCoreApplication::processEvents();
      QThread::msleep(2);
    }
    return done();
  }
  static WAVEFORMATEX mono16() {
    WAVEFORMATEX f;
    f.nSamplesPerSec = 22050;
    f.nAvgBytesPerSec = 44100;
    return f;
  }
};

TEST_F(PortAudioDevice, ListsOutputDevicesWithShortNames) {
  PortAudioWaveOut device;
  ASSERT_TRUE(device.initialised());
  ASSERT_GE(device.deviceCount(), 1u);
  for (uint32_t i = 0; i < device.deviceCount(); ++i) {
    EXPECT_FALSE(device.deviceName(i).empty());
    EXPECT_LE(device.deviceName(i).size(), 31u);
  }
  HWAVEOUT h = 0;
  Listener listener;
  EXPECT_EQ(device.open(&h, device.deviceCount(), mono16(), &listener, 0, 0), MMSYSERR_BADDEVICEID);
}

TEST_F(PortAudioDevice, PlaysBuffersBackInOrderAndClosesAfterThem) {
  PortAudioWaveOut device;
  Listener listener;
  HWAVEOUT h = 0;
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), &listener, 0, 0), 0u);
  std::vector<uint8_t> a(4410, 0), b(4410, 0);  // 0.1 s each
  WAVEHDR ha{a.data(), 4410}, hb{b.data(), 4410};
  ASSERT_EQ(device.prepareHeader(h, &ha, sizeof ha), 0u);
  ASSERT_EQ(device.prepareHeader(h, &hb, sizeof hb), 0u);
  ASSERT_EQ(device.write(h, &ha, sizeof ha), 0u);
  ASSERT_EQ(device.write(h, &hb, sizeof hb), 0u);
  EXPECT_EQ(device.close(h), WAVERR_STILLPLAYING);
  ASSERT_TRUE(waitFor([&] { return listener.count(WaveMessage::Done) == 2; }));
  uint64_t frames = 0;
  ASSERT_EQ(device.position(h, frames), 0u);
  EXPECT_EQ(frames, 4410u);
  ASSERT_EQ(device.close(h), 0u);
  ASSERT_TRUE(waitFor([&] { return listener.count(WaveMessage::Close) == 1; }));
  EXPECT_EQ(listener.messages.front(), WaveMessage::Open);
  EXPECT_EQ(device.position(h, frames), MMSYSERR_INVALHANDLE);
}

TEST_F(PortAudioDevice, APausedDeviceKeepsItsBuffersUntilAReset) {
  PortAudioWaveOut device;
  Listener listener;
  HWAVEOUT h = 0;
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), &listener, 0, 0), 0u);
  ASSERT_EQ(device.pause(h), 0u);
  std::vector<uint8_t> a(4410, 0);
  WAVEHDR ha{a.data(), 4410};
  ASSERT_EQ(device.prepareHeader(h, &ha, sizeof ha), 0u);
  ASSERT_EQ(device.write(h, &ha, sizeof ha), 0u);
  waitFor([] { return false; }, 300);
  EXPECT_EQ(listener.count(WaveMessage::Done), 0);
  EXPECT_EQ(device.outstanding(h), 1);
  ASSERT_EQ(device.reset(h), 0u);
  EXPECT_EQ(device.outstanding(h), 0);
  ASSERT_EQ(device.close(h), 0u);
  ASSERT_TRUE(waitFor([&] { return listener.count(WaveMessage::Close) == 1; }));
  EXPECT_EQ(listener.count(WaveMessage::Done), 1);
}

}  // namespace
}  // namespace quor::audio
