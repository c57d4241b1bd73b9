// Most triangle samples are taken from the ideal triangle line instead of the chain of float32
// roundings that defines them; these cases sit where that shortcut is least safe.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "SampleFast.h"
#include "SideBySide.h"

namespace quor::testing {
namespace {

constexpr int32_t kTriangle = 2;

class TriangleShortcut : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { useBaselineKernelsOnly(GetParam()); }
  void TearDown() override { useBaselineKernelsOnly(false); }
};

// A tone whose float phase steps through every float from `first` on, `slots` of them.
WorkingValues everyFloatFrom(float first, float amplitude) {
  WorkingValues v;
  v.SampleRate = 96000;
  v.SamplesPerPeriod = 1 << 30;
  v.AmplitudeFactor = amplitude;
  // Floats between 1 and 2 lie 2^-23 apart, between 4 and 8 2^-21: the increment is one of
  // them, and the double sums stay exact.
  v.PhaseIncrement = first < 2.0f ? 0x1p-23 : 0x1p-21;
  v.Phase = static_cast<double>(first) - v.PhaseIncrement;
  return v;
}

// Next to the peaks the arcsine magnifies the float32 rounding of the sine without bound.
TEST_P(TriangleShortcut, EveryFloatPhaseNextToThePeaks) {
  for (const float peak : {static_cast<float>(M_PI / 2), static_cast<float>(3 * M_PI / 2)}) {
    for (const float amplitude : {1.0f, 0.7079458f, 0.001f}) {
      const float first = peak - (peak < 2.0f ? 0x1p-6f : 0x1p-4f);
      WorkingValues v = everyFloatFrom(first, amplitude);
      // 2^18 floats on each side of the peak, in buffers of 8192 samples.
      EXPECT_TRUE(fillsAgree(v, FillInputs{kTriangle, false, false, 16}, 16384, 64))
          << "peak " << peak << " amplitude " << amplitude;
    }
  }
}

// Levels chosen so that each sample lands within 0.01 of a half-integer, where the trust test
// has the least room.
TEST_P(TriangleShortcut, SamplesNextToHalfIntegers) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<float> phase(0.0f, 6.2831853f);
  std::uniform_int_distribution<int32_t> level(1, 32766);
  std::uniform_real_distribution<double> offset(-0.01, 0.01);
  int32_t tried = 0;
  for (int32_t i = 0; i < 200000; ++i) {
    const float x = phase(random);
    const float t = triangle(x);
    if (std::fabs(t) < 0.05f) continue;
    const long double target = level(random) + 0.5L + offset(random);
    const auto amplitude = static_cast<float>(target / (32767.0L * std::fabs(t)));
    if (amplitude > 1.0f) continue;
    WorkingValues v;
    v.SampleRate = 96000;
    v.SamplesPerPeriod = 96000;
    v.AmplitudeFactor = amplitude;
    v.Phase = x;
    v.PhaseIncrement = 0.0;
    ASSERT_TRUE(fillsAgree(v, FillInputs{kTriangle, false, false, 16}, 2, 1))
        << "phase " << x << " amplitude " << amplitude;
    ++tried;
  }
  EXPECT_GT(tried, 90000);
}

INSTANTIATE_TEST_SUITE_P(Kernels, TriangleShortcut, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Sse2Only" : "Selected"; });

}  // namespace
}  // namespace quor::testing
