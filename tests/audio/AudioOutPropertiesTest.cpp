#include <functional>

#include "AudioOutFixture.h"

namespace quor::audio::testing {
namespace {

using AudioOutProperties = AudioOutFixture;

TEST_F(AudioOutProperties, StartsWithTheDocumentedValues) {
  EXPECT_EQ(out->BufferSize(), 8192);
  EXPECT_EQ(out->NumBuffers(), 4);
  EXPECT_EQ(out->FrameRate(), 22050);
  EXPECT_FALSE(out->Stereo());
  EXPECT_EQ(out->Quantization(), 16);
  EXPECT_EQ(out->WaveDevice(), 0xFFFFFFFFu);
  EXPECT_FALSE(out->Paused());
  EXPECT_FALSE(out->Active);
  EXPECT_EQ(out->ErrorMessage, "");
  TAudioOut bare(device);
  EXPECT_FALSE(bare.OnStart() || bare.OnStop() || bare.OnFillBuffer());
}

TEST_F(AudioOutProperties, BufferSizeHasAFloorAndIsCutToWholeFrames) {
  out->SetBufferSize(100);
  EXPECT_EQ(out->BufferSize(), 512);
  out->SetBufferSize(4097);
  EXPECT_EQ(out->BufferSize(), 4096);  // 16-bit mono: two bytes a frame
  out->SetQuantization(8);
  EXPECT_EQ(out->BufferSize(), 4097);
  out->SetQuantization(16);
  out->SetStereo(true);
  EXPECT_EQ(out->BufferSize(), 4096);  // four bytes a frame
  out->SetBufferSize(4098);
  EXPECT_EQ(out->BufferSize(), 4096);
}

// The format may change after the buffers were allocated, in any order: every fill is offered
// the effective size, and that size always fits the buffer (AddressSanitizer builds catch a
// byte written past its end: QUOR_ASAN).
TEST_F(AudioOutProperties, NoOrderOfPropertyWritesLetsTheFillOverrunABuffer) {
  struct Order {
    const char* name;
    std::function<void(TAudioOut&)> writes;
    int32_t effectiveSize;
    int buffers;
  };
  const std::vector<Order> orders = {
      {"8 bit after 16-bit BufferSize 4097",
       [](TAudioOut& o) {
         o.SetBufferSize(4097);
         o.SetQuantization(8);
       },
       4097, 4},
      {"mono after stereo BufferSize 4098",
       [](TAudioOut& o) {
         o.SetStereo(true);
         o.SetBufferSize(4098);
         o.SetStereo(false);
       },
       4098, 4},
      {"24 bit after 8-bit BufferSize 4099",
       [](TAudioOut& o) {
         o.SetQuantization(8);
         o.SetBufferSize(4099);
         o.SetQuantization(24);
       },
       4098, 4},
      {"four buffers after BufferSize for two",
       [](TAudioOut& o) {
         o.SetNumBuffers(2);
         o.SetBufferSize(4096);
         o.SetNumBuffers(4);
       },
       4096, 4},
  };
  std::vector<int32_t> offered;
  out->SetOnFillBuffer([&](uint8_t* buffer, int32_t& size) {
    offered.push_back(size);
    std::fill(buffer, buffer + size, uint8_t{0x80});
    return true;
  });
  for (const Order& order : orders) {
    SCOPED_TRACE(order.name);
    out->SetNumBuffers(4);
    out->SetStereo(false);
    out->SetQuantization(16);
    order.writes(*out);
    offered.clear();
    ASSERT_TRUE(out->Start(out)) << out->ErrorMessage;
    EXPECT_EQ(out->BufferSize(), order.effectiveSize);
    EXPECT_EQ(offered,
              std::vector<int32_t>(static_cast<size_t>(order.buffers), order.effectiveSize));
    pump();
    play(8192);
    out->StopAtOnce();
    pump();
  }
}

TEST_F(AudioOutProperties, NumBuffersAndQuantizationAreClamped) {
  out->SetNumBuffers(1);
  EXPECT_EQ(out->NumBuffers(), 2);
  out->SetNumBuffers(5);
  EXPECT_EQ(out->NumBuffers(), 4);
  out->SetQuantization(4);
  EXPECT_EQ(out->Quantization(), 8);
  out->SetQuantization(32);
  EXPECT_EQ(out->Quantization(), 24);
}

// The format reaches the device as it was set: block align from the whole bytes per sample.
TEST_F(AudioOutProperties, TheDeviceGetsTheFormatOfTheSettings) {
  useNumberingFill();
  out->SetFrameRate(48000);
  out->SetQuantization(12);
  out->SetBufferSize(4096);
  ASSERT_TRUE(out->Start(out));
  EXPECT_EQ(device.lastFormat().nBlockAlign, 1);
  EXPECT_EQ(device.lastFormat().nAvgBytesPerSec, 48000u);
  EXPECT_EQ(device.lastFormat().wBitsPerSample, 12);
  out->StopAtOnce();
  pump();

  out->SetQuantization(16);
  out->SetStereo(true);
  out->SetFrameRate(96000);
  out->SetBufferSize(4096);
  ASSERT_TRUE(out->Start(out));
  EXPECT_EQ(device.lastFormat().nChannels, 2);
  EXPECT_EQ(device.lastFormat().nBlockAlign, 4);
  EXPECT_EQ(device.lastFormat().nAvgBytesPerSec, 384000u);
  EXPECT_EQ(device.lastOpenedDevice(), WAVE_MAPPER);
  out->StopAtOnce();
  pump();
}

TEST_F(AudioOutProperties, ElapsedTimeCountsPlayedFramesOnlyWhileActive) {
  configure(4, 8192);
  useNumberingFill();
  EXPECT_EQ(out->ElapsedTime(), 0.0);
  ASSERT_TRUE(out->Start(out));
  pump();
  play(11025);
  EXPECT_DOUBLE_EQ(out->ElapsedTime(), 0.5);
  out->StopAtOnce();
  EXPECT_EQ(out->ElapsedTime(), 0.0);
  pump();
}

}  // namespace
}  // namespace quor::audio::testing
