#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>
#include <array>

#include "MonitorTap.h"
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

  // A ring of four buffers of a full-scale 1000 Hz square wave, 0.2 s each, handed over.
  struct Tone {
    Tone(PortAudioWaveOut& device, Listener& listener) : device(device) {
      EXPECT_EQ(device.open(&handle, WAVE_MAPPER, mono16(), listener.ref(), 0, 0), 0u);
      for (size_t i = 0; i < samples.size(); ++i) samples[i] = (i / 11) % 2 != 0 ? 32767 : -32767;
      for (WAVEHDR& h : headers) {
        h.lpData = reinterpret_cast<uint8_t*>(samples.data());
        h.dwBufferLength = static_cast<uint32_t>(samples.size() * 2);
        EXPECT_EQ(device.prepareHeader(handle, &h, sizeof h), 0u);
      }
      for (WAVEHDR& h : headers) EXPECT_EQ(device.write(handle, &h, sizeof h), 0u);
    }
    PortAudioWaveOut& device;
    HWAVEOUT handle = 0;
    std::vector<int16_t> samples = std::vector<int16_t>(4410);
    std::array<WAVEHDR, 4> headers{};
  };
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
  EXPECT_EQ(device.open(&h, device.deviceCount(), mono16(), listener.ref(), 0, 0), MMSYSERR_BADDEVICEID);
}

TEST_F(PortAudioDevice, PlaysBuffersBackInOrderAndClosesAfterThem) {
  PortAudioWaveOut device;
  Listener listener;
  HWAVEOUT h = 0;
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener.ref(), 0, 0), 0u);
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

// The last buffers come back when they have been copied into the device's own buffer, from
// which they still sound for a while: the close answers at once, and the Close follows when
// the sound has played out.
TEST_F(PortAudioDevice, ACloseLeavesTheLastBuffersToPlayOutAndReportsItsEndAfterThem) {
  PortAudioWaveOut device;
  Listener listener;
  Tone tone(device, listener);
  ASSERT_TRUE(waitFor([&] { return listener.count(WaveMessage::Done) == 4; }));
  ASSERT_EQ(device.close(tone.handle), 0u);
  device.deliverPending();
  EXPECT_EQ(listener.count(WaveMessage::Close), 0) << "the close waited for the sound";
  ASSERT_TRUE(waitFor([&] { return listener.count(WaveMessage::Close) == 1; }));
}

// The stream starts with the tone's buffers already there, so the tone does not sound behind
// a device buffer of silence (which put it 80 ms and more late). Noise only delays a sound,
// so the best of three starts counts.
TEST_F(PortAudioDevice, TheFirstBufferSoundsRightAfterTheStart) {
  quor::testing::MonitorTap tap;
  ASSERT_TRUE(tap.waitUntilListening(10)) << "parec does not record the sink";
  PortAudioWaveOut device;
  double best = 1e9;
  for (int attempt = 0; attempt < 3; ++attempt) {
    Listener listener;
    const double begun = quor::testing::steadySeconds();
    Tone tone(device, listener);
    ASSERT_TRUE(waitFor([&] { return listener.count(WaveMessage::Done) == 4; }));
    device.reset(tone.handle);
    device.close(tone.handle);
    ASSERT_TRUE(waitFor([&] { return listener.count(WaveMessage::Close) == 1; }));
    waitFor([] { return false; }, 300);  // the monitor catches up
    best = std::min(best, tap.firstSoundAfter(begun).value_or(1e9));
  }
  EXPECT_LT(best, 0.05);
}

TEST_F(PortAudioDevice, APausedDeviceKeepsItsBuffersUntilAReset) {
  PortAudioWaveOut device;
  Listener listener;
  HWAVEOUT h = 0;
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener.ref(), 0, 0), 0u);
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
