#include <cmath>

#include "EngineFixture.h"
#include "ToneError.h"

namespace quor::testing {
namespace {

using Amplitude = EngineTest;

TEST_F(Amplitude, LevelSetsTheFactorInDecibelSteps) {
  controls.setText(Control::Amplitude, "80");
  EXPECT_EQ(v.AmplitudeFactor, 0.1f);
  EXPECT_FLOAT_EQ(v.AmplitudeFactor, 0.100000001f);
  controls.setText(Control::Amplitude, "0");
  EXPECT_EQ(v.AmplitudeFactor, 0.00001f);
  controls.setText(Control::Amplitude, "100");
  EXPECT_EQ(v.AmplitudeFactor, 1.0f);
}

TEST_F(Amplitude, RepairsTextsAtOnce) {
  controls.setText(Control::Amplitude, "");
  EXPECT_EQ(controls.text(Control::Amplitude), "100");
  controls.setText(Control::Amplitude, "150");
  EXPECT_EQ(controls.text(Control::Amplitude), "100");
  EXPECT_EQ(v.AmplitudeFactor, 1.0f);
  controls.setText(Control::Amplitude, "-5");
  EXPECT_EQ(controls.text(Control::Amplitude), "0");
  EXPECT_EQ(v.AmplitudeFactor, 0.00001f);
  controls.setText(Control::Amplitude, "loud");
  EXPECT_EQ(controls.text(Control::Amplitude), "100");
}

TEST_F(Amplitude, FractionalLevelReportsTheIntegerErrorAndKeepsTheFactor) {
  controls.setText(Control::Amplitude, "60");
  try {
    controls.userType(Control::Amplitude, "50.5");
    FAIL() << "no error raised";
  } catch (const ToneError& e) {
    EXPECT_STREQ(e.what(), "'50.5' is not a valid integer value");
  }
  EXPECT_EQ(v.AmplitudeFactor, 0.01f);
  controls.userLeave(Control::Amplitude);
  EXPECT_EQ(controls.text(Control::Amplitude), "50");
  EXPECT_EQ(v.AmplitudeFactor, static_cast<float>(powl(10.0L, -2.5L)));
}

TEST_F(Amplitude, LeavingWritesTheLevelInPlainDigits) {
  controls.userType(Control::Amplitude, " 042 ");
  EXPECT_EQ(v.AmplitudeFactor, static_cast<float>(powl(10.0L, -2.9L)));
  controls.userLeave(Control::Amplitude);
  EXPECT_EQ(controls.text(Control::Amplitude), "42");
  EXPECT_EQ(v.AmplitudeFactor, static_cast<float>(powl(10.0L, -2.9L)));
}

}  // namespace
}  // namespace quor::testing
