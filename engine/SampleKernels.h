#pragma once
// Double-precision sine and arcsine for the fast fill, written once for a plain double and for
// vectors of doubles (Vec2 for SSE2, Vec4 for AVX2; every lane computes exactly what the plain
// double does). They do not have to be exact: the fill only trusts a result that lies far enough
// from every rounding boundary it is about to cross, and the bounds below say how far is far
// enough.
//
// Error bounds, for |x| <= kFastArgumentLimit and |a| < 1 (derivation next to each function):
//   |fastSin(x) - sin(x)|              <= 2^-50 |sin(x)| + 2^-100
//   |fastAsin(a) - asin(a)|            <= 2^-49 |asin(a)|
// glibc's sinl and atanl, the extended-precision yardstick, stay within about 2^-62 relative.
// Rounding the arcsine result to double and multiplying by 2/pi adds under 2^-52. The fill's
// margins (kRelativeMargin, kAbsoluteMargin) are 2^8 and 2^30 times wider than these sums.
#include <bit>
#include <cmath>
#include <cstdint>

// Always inlined, so that each caller compiles them for its own instruction set (and so that
// the 4-lane types never cross a call, whose convention would depend on AVX).
#define QUOR_KERNEL [[gnu::always_inline]] inline
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace quor::kernels {

using Vec2 = double __attribute__((vector_size(16)));
using Mask2 = int64_t __attribute__((vector_size(16)));  // lanes all ones or all zeros
using Float2 = float __attribute__((vector_size(8)));
// Four lanes, for callers compiled for AVX2 only.
using Vec4 = double __attribute__((vector_size(32)));
using Mask4 = int64_t __attribute__((vector_size(32)));
using Float4 = float __attribute__((vector_size(16)));

template <class T>
struct Lanes {
  using Bits = uint64_t;
  using Condition = bool;
};
template <>
struct Lanes<Vec2> {
  using Bits = Mask2;
  using Condition = Mask2;
  using Narrow = Float2;
};
template <>
struct Lanes<Vec4> {
  using Bits = Mask4;
  using Condition = Mask4;
  using Narrow = Float4;
};

template <class T>
QUOR_KERNEL T broadcast(double c) {
  return T{} + c;
}

template <class T>
QUOR_KERNEL auto bitsOf(T x) {
  return std::bit_cast<typename Lanes<T>::Bits>(x);
}

template <class T, class B>
QUOR_KERNEL T fromBits(B bits) {
  return std::bit_cast<T>(bits);
}

inline constexpr int64_t kSignBit = INT64_MIN;

template <class T>
QUOR_KERNEL T absolute(T x) {
  return fromBits<T>(bitsOf(x) & ~kSignBit);
}

// |magnitude| with the sign of `sign`.
template <class T>
QUOR_KERNEL T withSignOf(T magnitude, T sign) {
  return fromBits<T>((bitsOf(magnitude) & ~kSignBit) | (bitsOf(sign) & kSignBit));
}

QUOR_KERNEL double squareRoot(double x) {
  return std::sqrt(x);
}
QUOR_KERNEL Vec2 squareRoot(Vec2 x) {
  return __builtin_ia32_sqrtpd(x);
}
// Two SSE2 square roots; a 4-lane builtin would tie this function to AVX.
QUOR_KERNEL Vec4 squareRoot(Vec4 x) {
  const Vec2 low = __builtin_ia32_sqrtpd(Vec2{x[0], x[1]});
  const Vec2 high = __builtin_ia32_sqrtpd(Vec2{x[2], x[3]});
  return Vec4{low[0], low[1], high[0], high[1]};
}

// Rounded to float32 and back: the value a float32 store would keep.
QUOR_KERNEL double float32Of(double x) {
  return static_cast<float>(x);
}
template <class V>
QUOR_KERNEL V float32Of(V x) {
  return __builtin_convertvector(__builtin_convertvector(x, typename Lanes<V>::Narrow), V);
}

// Beyond this the reduction constants stop being exact multiples (k * kPi1 needs k < 2^20).
inline constexpr double kFastArgumentLimit = 0x1p20;

// A result r of fastSin or of the arcsine step is trusted to lie within this of the true value.
inline constexpr double kRelativeMargin = 0x1p-40;
inline constexpr double kAbsoluteMargin = 0x1p-70;

template <class T>
QUOR_KERNEL T trustRadius(T r) {
  return absolute(r) * kRelativeMargin + kAbsoluteMargin;
}

// Whether every value within trustRadius(r) of r rounds to the same float32 as r. The sums
// themselves round by at most 2^-53 |r|, far inside the radius.
template <class T>
QUOR_KERNEL typename Lanes<T>::Condition float32RoundingSafe(T r) {
  const T radius = trustRadius(r);
  return float32Of(r - radius) == float32Of(r + radius);
}

// Round to the nearest integer, ties to even (the default rounding mode), for |x| < 2^51.
// Adding 1.5 * 2^52 leaves no fraction bits; the integer's low bits sit in the mantissa.
inline constexpr double kRoundingShift = 0x1.8p52;
template <class T>
QUOR_KERNEL T roundToInteger(T x) {
  return (x + kRoundingShift) - kRoundingShift;
}

namespace detail {

// pi split Cody-Waite fashion: kPi1 and kPi2 have 33 significant bits, so k * kPi1 and
// k * kPi2 are exact for |k| < 2^20; the three parts leave pi short by about 2^-121.
inline constexpr double kPi1 = 0x1.921fb544p+1;
inline constexpr double kPi2 = 0x1.0b4611a6p-33;
inline constexpr double kPi3 = 0x1.3198a2e037073p-68;
inline constexpr double kInvPi = 0x1.45f306dc9c883p-2;

// 1 / n! in extended precision, rounded once to double.
constexpr double inverseFactorial(int n) {
  long double f = 1.0L;
  for (int i = 2; i <= n; ++i) f *= i;
  return static_cast<double>(1.0L / f);
}

// Taylor series of sin on |r| <= pi/2 (plus a rounding slack): the first omitted term,
// (pi/2)^25 / 25!, is below 2^-67 of |sin r| there, so truncation is negligible. The series
// in z = r^2 is summed in Estrin's order (pairs, then pairs of pairs) for a short dependency
// chain; every partial sum is dominated by its leading coefficient (|z| <= 2.47 shrinks each
// next term by at least 4), so each carries a rounding error of a few ulps at most.
template <class T>
QUOR_KERNEL T sinTaylor(T r) {
  const T z = r * r;
  const T z2 = z * z;
  const T z4 = z2 * z2;
  const T z8 = z4 * z4;
  const T c0 = -inverseFactorial(3) + z * inverseFactorial(5);
  const T c1 = -inverseFactorial(7) + z * inverseFactorial(9);
  const T c2 = -inverseFactorial(11) + z * inverseFactorial(13);
  const T c3 = -inverseFactorial(15) + z * inverseFactorial(17);
  const T c4 = -inverseFactorial(19) + z * inverseFactorial(21);
  const T c5 = broadcast<T>(-inverseFactorial(23));
  const T d0 = c0 + z2 * c1;
  const T d1 = c2 + z2 * c3;
  const T d2 = c4 + z2 * c5;
  const T p = (d0 + z4 * d1) + z8 * d2;
  return r + r * (z * p);
}

// Rational approximation R(t) of (asin(s) - s) / s^3 with t = s^2 on 0 <= t <= 1/4; its error
// is below 2^-58 (the classic fdlibm coefficients).
template <class T>
QUOR_KERNEL T asinRational(T t) {
  const T p =
      t * (1.66666666666666657415e-01 +
           t * (-3.25565818622400915405e-01 +
                t * (2.01212532134862925881e-01 +
                     t * (-4.00555345006794114027e-02 +
                          t * (7.91534994289814532176e-04 + t * 3.47933107596021167570e-05)))));
  const T q = 1.0 + t * (-2.40339491173441421878e+00 +
                         t * (2.02094576023350569471e+00 +
                              t * (-6.88283971605453293030e-01 + t * 7.70381505559019352791e-02)));
  return p / q;
}

inline constexpr double kHalfPiHigh = 0x1.921fb54442d18p+0;
inline constexpr double kHalfPiLow = 6.12323399573676603587e-17;

}  // namespace detail

// x - k pi for the integer k nearest to x / pi, negated for odd k, so that sin x equals the
// sine of the result and, while |result| <= pi/2, asin(sin x) equals the result itself. For
// |x| <= kFastArgumentLimit; larger or non-finite x give a meaningless value that the caller
// must not use.
// x - k kPi1 is exact (Sterbenz, both within a factor 2), k kPi2 is exact, so the result carries
// two roundings (2^-52 of it) plus |k| (2^-53 kPi3 + 2^-121) < 2^-100. The computed k can miss
// the nearest integer next to a half multiple of pi, which leaves |result| just above pi/2.
template <class T>
QUOR_KERNEL T reducedAngle(T x) {
  using namespace detail;
  const T shifted = x * kInvPi + kRoundingShift;
  const T k = shifted - kRoundingShift;
  const auto oddMultiple = bitsOf(shifted) << 63;
  const T r = ((x - k * kPi1) - k * kPi2) - k * kPi3;
  return fromBits<T>(bitsOf(r) ^ oddMultiple);
}

// sin x for |x| <= kFastArgumentLimit (reducedAngle's conditions). The series adds at most
// about 3 ulps relative to sin r (|sin r| >= 0.63 |r| on the interval keeps the Horner errors
// relative) and is exactly odd, giving 2^-50 |sin x| + 2^-100 in total.
template <class T>
QUOR_KERNEL T fastSin(T x) {
  return detail::sinTaylor(reducedAngle(x));
}

// asin a for |a| < 1, fdlibm's scheme in its simplest form: below 1/2 directly, above through
// asin a = pi/2 - 2 asin(sqrt((1 - a) / 2)), where 1 - a is exact. The second form loses a
// factor of about 3 to cancellation at a = 1/2 (result 0.52 from 1.57 - 1.05), so the bound
// is some 6 ulps, 2^-50.4, below the stated 2^-49.
template <class T>
QUOR_KERNEL T fastAsin(T a) {
  using namespace detail;
  const T m = absolute(a);
  const auto small = m < 0.5;
  const T t = small ? m * m : (1.0 - m) * 0.5;
  const T w = asinRational(t);
  const T s = squareRoot(t);
  const T nearOne = kHalfPiHigh - (2.0 * (s + s * w) - kHalfPiLow);
  const T nearZero = m + m * w;
  return withSignOf(small ? nearZero : nearOne, a);
}

}  // namespace quor::kernels

#pragma GCC diagnostic pop
