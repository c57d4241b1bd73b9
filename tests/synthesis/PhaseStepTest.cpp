// The oscillator's extended-precision steps done in double must store exactly what the
// 80-bit arithmetic stores, including where the two roundings of the latter matter.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "SamplePhase.h"

namespace quor::phase {
namespace {

uint64_t bitsOf(double x) {
  return std::bit_cast<uint64_t>(x);
}

void expectSum(double a, double b) {
  const double exact = static_cast<double>(static_cast<long double>(a) + b);
  ASSERT_EQ(bitsOf(extendedSum(a, b)), bitsOf(exact)) << std::hexfloat << a << " + " << b;
}

void expectProduct(double a, float f) {
  const double exact = static_cast<double>(static_cast<long double>(a) * f);
  ASSERT_EQ(bitsOf(extendedProduct(a, f)), bitsOf(exact)) << std::hexfloat << a << " * " << f;
}

TEST(PhaseSteps, SumsOfPhasesAndIncrements) {
  std::mt19937_64 random(31);
  std::uniform_real_distribution<double> phase(-10.0, 10.0);
  std::uniform_real_distribution<double> exponent(-40.0, 2.0);
  for (int i = 0; i < 300000; ++i) {
    expectSum(phase(random), std::exp2(exponent(random)));
  }
}

// Increments whose bits below the phase's last bit put the exact sum within a 64-bit
// rounding step of the midpoint between two doubles, on either side, or exactly on it.
TEST(PhaseSteps, SumsNextToMidpointsBetweenDoubles) {
  std::mt19937_64 random(32);
  std::uniform_real_distribution<double> phase(2.0, 8.0);
  for (int i = 0; i < 20000; ++i) {
    const double a = phase(random);
    const double ulp = std::nextafter(a, 100.0) - a;
    for (double tail : {0.0, 0x1p-12, -0x1p-12, 0x1p-13, 0x1p-11, -0x1p-10}) {
      expectSum(a, 0x1p-14 + ulp * (0.5 + tail));
      expectSum(a, 0x1p-9 - ulp * (0.5 + tail));
    }
  }
  expectSum(4.0, -0x1p-60);  // just below a power of two
  expectSum(0.0, 0.0);
  expectSum(-0.0, -0.0);
  expectSum(1e-310, 1e-310);
  expectSum(INFINITY, 1.0);
  expectSum(NAN, 1.0);
}

TEST(PhaseSteps, ProductsOfIncrementsAndFactors) {
  std::mt19937_64 random(33);
  std::uniform_real_distribution<double> increment(1e-6, 3.2);
  std::uniform_real_distribution<float> factor(0.9999f, 1.0001f);
  for (int i = 0; i < 300000; ++i) expectProduct(increment(random), factor(random));
  expectProduct(1.0, 1.0f);
  expectProduct(0.0, 1.5f);
  expectProduct(1e300, 1e30f);
  expectProduct(-2.5, 0.75f);
  expectProduct(NAN, 1.0f);
}

TEST(PhaseSteps, WrapSubtractsTwoPiOnceAboveIt) {
  const Wrap wrap;
  std::mt19937_64 random(34);
  std::uniform_real_distribution<double> phase(-1.0, 12.0);
  for (int i = 0; i < 300000; ++i) {
    const double x = phase(random);
    const double exact = static_cast<long double>(x) > kTwoPi
                             ? static_cast<double>(static_cast<long double>(x) - kTwoPi)
                             : x;
    ASSERT_EQ(bitsOf(wrap(x)), bitsOf(exact)) << std::hexfloat << x;
  }
  const double twoPi = static_cast<double>(kTwoPi);
  for (double x = std::nextafter(twoPi, 0.0), n = 0; n < 3; ++n, x = std::nextafter(x, 8.0)) {
    const double exact = static_cast<long double>(x) > kTwoPi
                             ? static_cast<double>(static_cast<long double>(x) - kTwoPi)
                             : x;
    EXPECT_EQ(bitsOf(wrap(x)), bitsOf(exact)) << std::hexfloat << x;
  }
  EXPECT_TRUE(std::isnan(wrap(NAN)));
  EXPECT_EQ(wrap(INFINITY), INFINITY);
  EXPECT_EQ(bitsOf(wrap(1e6)), bitsOf(static_cast<double>(1e6L - kTwoPi)));
}

}  // namespace
}  // namespace quor::phase
