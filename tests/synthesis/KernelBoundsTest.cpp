// The fast fill is exact only as long as its kernels stay within the error bounds its margins
// were chosen from; these tests hold the kernels against the extended-precision functions.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "SampleKernels.h"

// Vec4 values are passed between the inlined kernels here; no call boundary sees them.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace quor::kernels {
namespace {

// The bound the margins rely on, 2^-50 |sin| + 2^-100, with sinl's own error on top.
void expectSineWithinBound(double x) {
  const long double exact = sinl(static_cast<long double>(x));
  const long double error = fabsl(static_cast<long double>(fastSin(x)) - exact);
  ASSERT_LE(error, fabsl(exact) * 0x1p-50L + 0x1p-100L) << "x = " << x;
}

TEST(KernelBounds, SineOverOneTurnAndTheWholeFastRange) {
  std::mt19937_64 random(21);
  std::uniform_real_distribution<double> turn(0.0, 2.0 * M_PI);
  std::uniform_real_distribution<double> range(-kFastArgumentLimit, kFastArgumentLimit);
  for (int i = 0; i < 100000; ++i) {
    expectSineWithinBound(turn(random));
    expectSineWithinBound(range(random));
    // Float phases, as the triangle takes them.
    expectSineWithinBound(static_cast<float>(turn(random)));
  }
}

// Next to the zeros the result is tiny and the reduction must keep it accurate relative to
// itself; these are the phases the square wave's sign depends on.
TEST(KernelBounds, SineNextToMultiplesOfPi) {
  std::mt19937_64 random(22);
  std::uniform_int_distribution<int64_t> multiple(-333000, 333000);
  for (int i = 0; i < 20000; ++i) {
    double x = static_cast<double>(static_cast<long double>(multiple(random)) *
                                   3.14159265358979323846264338327950288L);
    for (int step = 0; step < 4; ++step) {
      expectSineWithinBound(x);
      expectSineWithinBound(static_cast<float>(x));
      x = std::nextafter(x, 1e300);
    }
  }
  expectSineWithinBound(0x1p-1000);
  expectSineWithinBound(-0x1p-30);
}

void expectArcsineWithinBound(double a) {
  const long double exact = asinl(static_cast<long double>(a));
  const long double error = fabsl(static_cast<long double>(fastAsin(a)) - exact);
  ASSERT_LE(error, fabsl(exact) * 0x1p-49L) << "a = " << a;
}

TEST(KernelBounds, ArcsineOverFloatArguments) {
  std::mt19937_64 random(23);
  std::uniform_real_distribution<float> any(-1.0f, 1.0f);
  for (int i = 0; i < 200000; ++i) expectArcsineWithinBound(any(random));
  // Where the two forms meet, next to one and near zero.
  for (float a = 0.5f, n = 0; n < 2000; ++n) {
    expectArcsineWithinBound(a);
    expectArcsineWithinBound(-a);
    a = std::nextafter(a, 0.0f);
  }
  for (float a = std::nextafter(1.0f, 0.0f), n = 0; n < 20000; ++n, a = std::nextafter(a, 0.0f)) {
    expectArcsineWithinBound(a);
  }
  for (float a = 0x1p-140f; a < 1e-3f; a *= 1.37f) expectArcsineWithinBound(a);
  EXPECT_EQ(fastAsin(0.0), 0.0);
}

// The fill runs the kernels on vectors; each lane must give exactly the scalar result that
// the bounds above were checked on.
TEST(KernelBounds, VectorLanesMatchTheScalarKernels) {
  std::mt19937_64 random(24);
  std::uniform_real_distribution<double> phase(-10.0, 10.0);
  std::uniform_real_distribution<double> any(-1.0, 1.0);
  for (int i = 0; i < 20000; ++i) {
    const Vec4 x{phase(random), phase(random), phase(random), phase(random)};
    const Vec4 a{any(random), any(random), any(random), any(random)};
    const Vec4 s4 = fastSin(x);
    const Vec4 a4 = fastAsin(a);
    const Vec2 s2 = fastSin(Vec2{x[0], x[1]});
    const Vec2 a2 = fastAsin(Vec2{a[0], a[1]});
    for (int lane = 0; lane < 4; ++lane) {
      ASSERT_EQ(s4[lane], fastSin(x[lane])) << x[lane];
      ASSERT_EQ(a4[lane], fastAsin(a[lane])) << a[lane];
      ASSERT_EQ(float32Of(s4)[lane], static_cast<float>(s4[lane]));
    }
    ASSERT_EQ(s2[1], s4[1]);
    ASSERT_EQ(a2[0], a4[0]);
  }
}

// The triangle's second rounding: where the fill trusts (2/pi) fastAsin(a) rounded to float32,
// that float must be the one the extended-precision formula gives.
::testing::AssertionResult arcsineStepAgrees(float a) {
  constexpr long double kPi = 3.141592653589793238462643383279502884L;
  const long double la = a;
  const auto exact = static_cast<float>(atanl(la / sqrtl(1.0L - la * la)) * 2.0L / kPi);
  const double t = fastAsin(static_cast<double>(a)) * 0x1.45f306dc9c883p-1;
  if (float32RoundingSafe(t) && static_cast<float>(t) != exact) {
    return ::testing::AssertionFailure() << std::hexfloat << "a = " << a << ": trusted "
                                         << static_cast<float>(t) << ", exact " << exact;
  }
  return ::testing::AssertionSuccess();
}

TEST(KernelBounds, TriangleArcsineStepTrustsOnlyTheExactFloat) {
  std::mt19937_64 random(25);
  std::uniform_real_distribution<float> any(-1.0f, 1.0f);
  for (int i = 0; i < 1000000; ++i) ASSERT_TRUE(arcsineStepAgrees(any(random)));
  for (float a = std::nextafter(1.0f, 0.0f), n = 0; n < 100000; ++n, a = std::nextafter(a, 0.0f)) {
    ASSERT_TRUE(arcsineStepAgrees(a));
  }
}

// Every float in (0, 1), some 10^9 of them (a few minutes; the arcsine is odd in both
// computations, so negative arguments follow). Run with --gtest_also_run_disabled_tests.
TEST(KernelBounds, DISABLED_TriangleArcsineStepOverEveryFloat) {
  for (float a = std::nextafter(0.0f, 1.0f); a < 1.0f; a = std::nextafter(a, 1.0f)) {
    ASSERT_TRUE(arcsineStepAgrees(a));
  }
}

TEST(KernelBounds, RoundToIntegerGoesToEvenOnTies) {
  EXPECT_EQ(roundToInteger(16383.5), 16384.0);
  EXPECT_EQ(roundToInteger(16384.5), 16384.0);
  EXPECT_EQ(roundToInteger(-2.5), -2.0);
  EXPECT_EQ(roundToInteger(-32766.49), -32766.0);
  EXPECT_EQ(roundToInteger(0.49999999999999994), 0.0);
}

}  // namespace
}  // namespace quor::kernels
