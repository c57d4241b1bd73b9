#include <gtest/gtest.h>

#include <limits>

#include "FrequencyScale.h"

namespace quor {
namespace {

TEST(FrequencyScale, PositionsAndFrequenciesMeetOnTheDecades) {
  const struct {
    long double hertz;
    int32_t position;
    const char* wholeHertz;  // under that position
  } cases[] = {
      {2, 0, "2"},
      {10, 699, "10"},
      {20, 1000, "20"},
      {100, 1699, "100"},
      {1000, 2699, "1000"},
      {500, 2398, "500"},
      {1500, 2875, "1500"},
      {10000, 3699, "10001"},
      {22050, 4042, "22031"},
      {11025, 3741, "11016"},
      {5512.5L, 3440, "5508"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SliderPosition(c.hertz), c.position) << c.hertz;
    EXPECT_EQ(WholeHertzText(c.position), c.wholeHertz) << c.position;
  }
}

TEST(FrequencyScale, NoFrequencyAtOrBelowZeroHasAPosition) {
  for (long double hertz : {0.0L, -5.0L}) {
    EXPECT_EQ(SliderPosition(hertz), std::numeric_limits<int32_t>::min()) << hertz;
  }
}

TEST(FrequencyScale, AnEndThatWouldCrossTheOtherLeavesTheRange) {
  const struct {
    SliderRange range;
    ScaleEnd end;
    int32_t position;
    SliderRange result;
  } cases[] = {
      {{0, 3741}, ScaleEnd::Minimum, 3699, {3699, 3741}},
      {{3699, 3741}, ScaleEnd::Maximum, 3440, {3699, 3741}},
      {{0, 3741}, ScaleEnd::Maximum, 2398, {0, 2398}},
      {{0, 2398}, ScaleEnd::Minimum, 2875, {0, 2398}},
      {{1000, 3741}, ScaleEnd::Maximum, 1000, {1000, 1000}},
      {{1000, 3741}, ScaleEnd::Minimum, 3741, {3741, 3741}},
  };
  for (const auto& c : cases) {
    const SliderRange got = WithEnd(c.range, c.end, c.position);
    EXPECT_EQ(got, c.result) << c.range.minimum << ".." << c.range.maximum << " to " << c.position
                             << " gave " << got.minimum << ".." << got.maximum;
  }
}

TEST(FrequencyScale, GeneralFormatWritesUpTo15SignificantDigitsWithAPoint) {
  const struct {
    float hertz;
    const char* text;
  } cases[] = {
      {500.0f, "500"},
      {12.5f, "12.5"},
      {22050.5f, "22050.5"},
      {500.1f, "500.100006103516"},  // the 32-bit value itself, not the text typed
      {0.00001f, "9.99999974737875e-06"},
  };
  for (const auto& c : cases) EXPECT_EQ(GeneralFormat(c.hertz), c.text) << c.text;
}

}  // namespace
}  // namespace quor
