#include "EngineFixture.h"
#include "ToneError.h"

namespace quor::testing {
namespace {

using Bandwidth = EngineTest;

TEST_F(Bandwidth, SampleRateIsTwiceTheBandwidth) {
  const int32_t rates[] = {11025, 22050, 44100, 48000, 96000};
  for (int i = 0; i < 5; ++i) {
    controls.userSelect(Control::FSList, i);
    EXPECT_EQ(v.SampleRate, rates[i]) << i;
  }
}

TEST_F(Bandwidth, UpdatesTheSliderRangeWhenTheSliderExists) {
  controls.createSlider();
  const int maxima[] = {3440, 3741, 4042, 4079, 4380};
  const char* texts[] = {"5512", "11025", "22050", "24000", "48000"};
  for (int i = 0; i < 5; ++i) {
    controls.userSelect(Control::FSList, i);
    EXPECT_EQ(controls.sliderMaximum(), maxima[i]) << i;
    EXPECT_EQ(controls.sliderMaximumText(), texts[i]) << i;
  }
}

TEST_F(Bandwidth, ClampsFrequenciesToTheIntegerHalfOfTheRate) {
  controls.userSelect(Control::FSList, 0);  // "5512.5": 11025 samples/s
  EXPECT_EQ(controls.text(Control::fFinal), "5512");
  EXPECT_EQ(controls.text(Control::fEdit), "1000");
  controls.setActivePage(SignalPage::Sweep);
  engine.parameters.fEditExit();
  EXPECT_EQ(v.NormFinalFreq, static_cast<float>(5512.0L / 11025));  // 5512 is valid here
}

TEST_F(Bandwidth, ClampTargetIsRejectedAtOtherRatesAndTheOldFrequenciesStay) {
  controls.userSelect(Control::FSList, 4);  // 96000
  controls.setText(Control::fEdit, "40000");
  engine.parameters.fEditExit();
  const float before = v.NormInitFreq;
  controls.userSelect(Control::FSList, 1);  // 22050: "40000" becomes "11025", which is invalid
  EXPECT_EQ(controls.text(Control::fEdit), "11025");
  EXPECT_EQ(v.SampleRate, 22050);
  EXPECT_EQ(v.NormInitFreq, before);
}

TEST_F(Bandwidth, ConversionErrorLeavesTheTextsUnclamped) {
  controls.createSlider();
  controls.setText(Control::fEdit, "");  // empty is allowed while typing
  controls.setText(Control::fFinal, "20000");
  controls.setItemIndex(Control::FSList, 0);
  try {
    engine.parameters.FSListChange();
    FAIL() << "no error raised";
  } catch (const ToneError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
  }
  EXPECT_EQ(v.SampleRate, 11025);
  EXPECT_EQ(controls.sliderMaximum(), 3440);
  EXPECT_EQ(controls.text(Control::fFinal), "20000");
}

TEST_F(Bandwidth, ResolutionSetsBitsPerSample) {
  controls.userSelect(Control::cboSoundQuality, 0);
  EXPECT_EQ(output.bits, 8);
  controls.userSelect(Control::cboSoundQuality, 1);
  EXPECT_EQ(output.bits, 16);
}

}  // namespace
}  // namespace quor::testing
