// Samples whose double-precision value sits on or next to a rounding boundary must take the
// extended-precision path and still agree with the plain definition.
#include <gtest/gtest.h>

#include <cmath>

#include "SampleFast.h"
#include "SampleKernels.h"
#include "SideBySide.h"

namespace quor::testing {
namespace {

// A tone that computes its first sample at exactly `phase` (increment 0).
WorkingValues standingAt(double phase, float amplitude = 1.0f) {
  WorkingValues v;
  v.SampleRate = 22050;
  v.SamplesPerPeriod = 22050;
  v.Phase = phase;
  v.PhaseIncrement = 0.0;
  v.AmplitudeFactor = amplitude;
  return v;
}

// Fills one 16-bit slot at `phase` through both paths; answers how many samples fell back.
uint64_t fallbacksForOneSample(double phase, int32_t waveform, float amplitude = 1.0f) {
  WorkingValues v = standingAt(phase, amplitude);
  const uint64_t before = exactFallbackCount();
  EXPECT_TRUE(fillsAgree(v, FillInputs{waveform, false, false, 16}, 2, 1))
      << "phase " << phase << " waveform " << waveform;
  return exactFallbackCount() - before;
}

int32_t referenceSample(double phase, int32_t waveform, float amplitude = 1.0f) {
  WorkingValues v = standingAt(phase, amplitude);
  return reference::NextSample(v, waveform, false);
}

TEST(FillFallback, OrdinarySamplesStayOnTheFastPath) {
  EXPECT_EQ(fallbacksForOneSample(0.7, 0), 0u);
  EXPECT_EQ(fallbacksForOneSample(2.0, 1), 0u);
  EXPECT_EQ(fallbacksForOneSample(4.0, 2), 0u);
}

// sin(x) * 32767 within 1e-12 of a half-integer: a double result cannot decide the rounding.
TEST(FillFallback, SineProductNextToAHalfInteger) {
  double best = 0.0;
  long double bestDistance = 1.0L;
  for (int32_t n = 5000; n < 30000 && bestDistance > 1e-13L; ++n) {
    const double guess = static_cast<double>(asinl((n + 0.5L) / 32767.0L));
    double x = guess;
    for (int step = -40; step <= 40; ++step) {
      x = std::nextafter(guess, step < 0 ? -1.0 : 4.0);
      for (int k = 0; k < std::abs(step); ++k) x = std::nextafter(x, step < 0 ? -1.0 : 4.0);
      const long double product = sinl(static_cast<long double>(x)) * 32767.0L;
      const long double distance = fabsl(product - (n + 0.5L));
      if (distance < bestDistance) {
        bestDistance = distance;
        best = x;
      }
    }
  }
  ASSERT_LT(bestDistance, 1e-12L);
  EXPECT_EQ(fallbacksForOneSample(best, 0), 1u);
}

// A triangle value of exactly 1/2 at full scale gives 16383.5, which rounds to even.
TEST(FillFallback, TriangleProductExactlyOnAHalfInteger) {
  float x = 0.785398f;
  int tries = 0;
  while (triangle(x) != 0.5f && tries < 100000) {
    x = std::nextafter(x, tries % 2 == 0 ? 1.0f : 0.0f);
    ++tries;
  }
  // Search outwards on both sides of pi/4 until the triangle lands on 1/2.
  for (float lo = 0.785398f, hi = 0.785398f; triangle(x) != 0.5f && tries < 200000; ++tries) {
    lo = std::nextafter(lo, 0.0f);
    hi = std::nextafter(hi, 1.0f);
    x = triangle(lo) == 0.5f ? lo : hi;
  }
  ASSERT_EQ(triangle(x), 0.5f);
  EXPECT_EQ(referenceSample(x, 2), 16384);
  EXPECT_EQ(fallbacksForOneSample(x, 2), 1u);
}

// The sine of the triangle's float phase lies next to the middle between two floats, and the
// level puts the sample next to a half-integer, so that only the exact chain can settle it.
TEST(FillFallback, TriangleSineNextToAFloatRoundingBoundary) {
  float x = 1.0f;
  for (int n = 0; n < 50000000; ++n, x = std::nextafter(x, 2.0f)) {
    const double s = kernels::fastSin(static_cast<double>(x));
    const double radius = kernels::trustRadius(s);
    if (static_cast<float>(s - radius) != static_cast<float>(s + radius)) break;
  }
  ASSERT_LT(x, 2.0f);
  const auto amplitude = static_cast<float>(20000.5L / (32767.0L * triangle(x)));
  const long double product = triangle(x) * 32767.0L * amplitude;
  ASSERT_LT(fabsl(product - 20000.5L), 0.003L);
  EXPECT_EQ(fallbacksForOneSample(x, 2, amplitude), 1u);
}

// Where the sine is zero or next to it only sinl can tell its sign.
TEST(FillFallback, SquareWaveNextToTheZerosOfTheSine) {
  EXPECT_EQ(fallbacksForOneSample(0.0, 1), 1u);
  EXPECT_EQ(referenceSample(0.0, 1), 32767);
  EXPECT_EQ(fallbacksForOneSample(M_PI, 1), 1u);
  EXPECT_EQ(referenceSample(M_PI, 1), 32767);
  const double pastPi = std::nextafter(M_PI, 4.0);
  EXPECT_EQ(fallbacksForOneSample(pastPi, 1), 1u);
  EXPECT_EQ(referenceSample(pastPi, 1), -32767);
  EXPECT_EQ(fallbacksForOneSample(-1e-300, 1), 1u);
  EXPECT_EQ(referenceSample(-1e-300, 1), -32767);
}

// Phases the kernels do not cover go to sinl whole.
TEST(FillFallback, PhasesOutsideTheFastRange) {
  for (int32_t waveform : {0, 1, 2}) {
    EXPECT_EQ(fallbacksForOneSample(5.0e6, waveform), 1u);
    EXPECT_EQ(fallbacksForOneSample(-2.0e6, waveform), 1u);
    EXPECT_EQ(fallbacksForOneSample(NAN, waveform), 1u);
  }
  EXPECT_EQ(referenceSample(NAN, 0), -2147483647 - 1);
}

// A level beyond what the double products can hold exactly is computed exactly throughout.
TEST(FillFallback, LevelsBeyondTheFastScale) {
  EXPECT_EQ(fallbacksForOneSample(1.0, 0, 1.0e6f), 1u);
  EXPECT_EQ(fallbacksForOneSample(1.0, 2, NAN), 1u);
}

}  // namespace
}  // namespace quor::testing
