#include <QVariant>

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
  TAudioOut bare(&owner, device);
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

TEST_F(AudioOutProperties, PublishedPropertiesWorkThroughTheMetaObject) {
  EXPECT_TRUE(out->setProperty("BufferSize", 100));
  EXPECT_EQ(out->property("BufferSize").toInt(), 512);
  EXPECT_TRUE(out->setProperty("NumBuffers", 9));
  EXPECT_EQ(out->property("NumBuffers").toInt(), 4);
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
