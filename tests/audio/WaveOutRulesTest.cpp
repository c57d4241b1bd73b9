#include <gtest/gtest.h>
#include <sndfile.h>

#include <QTemporaryDir>
#include <vector>

#include "EventLoop.h"
#include "FileWaveOut.h"
#include "NotificationListener.h"
#include "QueuedWaveOut.h"
#include "SimulatedWaveOut.h"

namespace quor::audio {
namespace {

using Listener = NotificationListener;

struct Buffer {
  explicit Buffer(uint32_t bytes, uint8_t value = 0) : data(bytes, value) {
    header.lpData = data.data();
    header.dwBufferLength = bytes;
  }
  std::vector<uint8_t> data;
  WAVEHDR header;
};

constexpr uint32_t kSize = sizeof(WAVEHDR);

WAVEFORMATEX mono16(uint32_t rate = 22050) {
  WAVEFORMATEX f;
  f.nSamplesPerSec = rate;
  f.nAvgBytesPerSec = rate * 2;
  return f;
}

void pump() {
  for (int i = 0; i < 3; ++i) threadEventLoop().processEvents(false);
}

TEST(WaveOutRules, NotificationsComeLaterInTheOrderRaised) {
  SimulatedWaveOut device;
  Listener listener;
  HWAVEOUT h = 0;
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener.ref(), 0, CALLBACK_WINDOW), 0u);
  Buffer a(8), b(8);
  ASSERT_EQ(device.prepareHeader(h, &a.header, kSize), 0u);
  ASSERT_EQ(device.prepareHeader(h, &b.header, kSize), 0u);
  ASSERT_EQ(device.write(h, &a.header, kSize), 0u);
  ASSERT_EQ(device.write(h, &b.header, kSize), 0u);
  EXPECT_TRUE(listener.messages.empty());
  EXPECT_EQ(device.close(h), WAVERR_STILLPLAYING);  // buffers are out
  EXPECT_EQ(device.unprepareHeader(h, &a.header, kSize), WAVERR_STILLPLAYING);
  device.advance(4);
  EXPECT_EQ(device.reset(h), 0u);
  EXPECT_EQ(device.close(h), 0u);
  EXPECT_TRUE(listener.messages.empty());
  pump();
  EXPECT_EQ(listener.messages, (std::vector<WaveMessage>{WaveMessage::Open, WaveMessage::Done,
                                                         WaveMessage::Done, WaveMessage::Close}));
  EXPECT_EQ(listener.headers[1], &a.header);
  EXPECT_EQ(listener.headers[2], &b.header);
  EXPECT_EQ(a.header.dwFlags & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
}

TEST(WaveOutRules, AClosedHandleRefusesEverythingWithoutEffect) {
  SimulatedWaveOut device;
  Listener listener;
  HWAVEOUT h = 0;
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener.ref(), 0, CALLBACK_WINDOW), 0u);
  ASSERT_EQ(device.close(h), 0u);
  Buffer a(8);
  uint64_t samples = 7;
  for (MMRESULT r :
       {device.prepareHeader(h, &a.header, kSize), device.write(h, &a.header, kSize),
        device.pause(h), device.restart(h), device.reset(h),
        device.unprepareHeader(h, &a.header, kSize), device.close(h), device.position(h, samples)})
    EXPECT_EQ(r, MMSYSERR_INVALHANDLE);
  EXPECT_EQ(samples, 7u);
  EXPECT_EQ(a.header.dwFlags, 0u);
  pump();
  EXPECT_EQ(listener.messages, (std::vector<WaveMessage>{WaveMessage::Open, WaveMessage::Close}));
}

TEST(WaveOutRules, AnUnpreparedBufferOrABadFormatIsRefused) {
  SimulatedWaveOut device;
  Listener listener;
  HWAVEOUT h = 0;
  WAVEFORMATEX bad = mono16();
  bad.nChannels = 3;
  EXPECT_EQ(device.open(&h, WAVE_MAPPER, bad, listener.ref(), 0, 0), WAVERR_BADFORMAT);
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener.ref(), 0, 0), 0u);
  Buffer a(8);
  EXPECT_EQ(device.write(h, &a.header, kSize), WAVERR_UNPREPARED);
  ASSERT_EQ(device.prepareHeader(h, &a.header, kSize), 0u);
  ASSERT_EQ(device.write(h, &a.header, kSize), 0u);
  EXPECT_EQ(device.write(h, &a.header, kSize), WAVERR_STILLPLAYING);  // already queued
  device.reset(h);
  device.close(h);
  pump();
}

class FileDevice : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  std::string path = dir.filePath("out.wav").toStdString();
  FileWaveOut device{path};
  Listener listener;
  HWAVEOUT h = 0;

  void writeBuffer(Buffer& b) {
    ASSERT_EQ(device.prepareHeader(h, &b.header, kSize), 0u);
    ASSERT_EQ(device.write(h, &b.header, kSize), 0u);
  }
  sf_count_t framesInFile() const {
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (f == nullptr) return -1;
    sf_close(f);
    return info.frames;
  }
};

TEST_F(FileDevice, WritesEveryBufferAndCommitsOnlyAfterTheClose) {
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener.ref(), 0, 0), 0u);
  Buffer a(400, 1), b(200, 2);
  writeBuffer(a);
  writeBuffer(b);
  uint64_t frames = 0;
  ASSERT_EQ(device.position(h, frames), 0u);
  EXPECT_EQ(frames, 300u);
  std::string error;
  EXPECT_FALSE(device.commit(error));  // still open
  pump();
  EXPECT_EQ(device.outstanding(h), 0);
  ASSERT_EQ(device.close(h), 0u);
  ASSERT_TRUE(device.commit(error)) << error;
  EXPECT_EQ(framesInFile(), 300);
  pump();
  EXPECT_EQ(listener.messages.size(), 4u);
}

TEST_F(FileDevice, APausedDeviceHoldsBuffersUntilRestartOrReset) {
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener.ref(), 0, 0), 0u);
  device.pause(h);
  Buffer a(400), b(400);
  writeBuffer(a);
  EXPECT_EQ(device.outstanding(h), 1);
  EXPECT_EQ(device.close(h), WAVERR_STILLPLAYING);
  device.restart(h);
  EXPECT_EQ(device.outstanding(h), 0);
  device.pause(h);
  writeBuffer(b);
  device.reset(h);  // returned, not written
  uint64_t frames = 0;
  device.position(h, frames);
  EXPECT_EQ(frames, 200u);
  ASSERT_EQ(device.close(h), 0u);
  std::string error;
  ASSERT_TRUE(device.commit(error));
  EXPECT_EQ(framesInFile(), 200);
  pump();
}

TEST_F(FileDevice, AFrameLimitCutsTheFileExactly) {
  device.setFrameLimit(250);
  ASSERT_EQ(device.open(&h, WAVE_MAPPER, mono16(), listener.ref(), 0, 0), 0u);
  Buffer a(400), b(400);
  writeBuffer(a);
  writeBuffer(b);
  ASSERT_EQ(device.close(h), 0u);
  std::string error;
  ASSERT_TRUE(device.commit(error));
  EXPECT_EQ(framesInFile(), 250);
  pump();
}

}  // namespace
}  // namespace quor::audio
