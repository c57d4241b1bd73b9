#pragma once
// The oscillator's extended-precision steps (an 80-bit sum or product stored to a double)
// carried out in double arithmetic, which is several times faster than the x87 round trip.
//
// Storing an extended result rounds twice: to 64 bits, then to 53. That equals a single
// rounding to 53 bits except where the exact result lies within one 64-bit rounding step
// (2^-12 of a double ulp) of the midpoint between two doubles: there the first rounding can
// land on the midpoint and the second then goes to even. The functions below compute the
// exact result as a double plus its error, answer the single rounding when the error keeps
// clear of the midpoints, and otherwise do the step in long double (about one step in 500).
#include <bit>
#include <cmath>
#include <cstdint>

#include "WorkingValues.h"

namespace quor::phase {

namespace detail {

inline constexpr uint64_t kExponentBits = 0x7FF0000000000000u;
inline constexpr uint64_t kMantissaBits = 0x000FFFFFFFFFFFFFu;

// Whether `rounded` (a normal double, not a power of two) is also the double rounding of
// rounded + error, |error| <= ulp/2 exact. Zero, subnormal, infinite and NaN results, and
// powers of two (whose lower neighbour is nearer), answer false.
inline bool singleRoundingHolds(double rounded, double error) {
  const uint64_t bits = std::bit_cast<uint64_t>(rounded);
  // 2^e for rounded in [2^e, 2^(e+1)); its ulp is 2^(e-52).
  const double binade = std::bit_cast<double>(bits & kExponentBits);
  // ulp/2 less 2^-11 ulp, twice the most a rounding to 64 bits moves (2^-12 ulp).
  const double clearOfMidpoints = binade * (0x1p-53 - 0x1p-63);
  return std::fabs(error) < clearOfMidpoints && (bits & kMantissaBits) != 0 && binade >= 0x1p-900;
}

}  // namespace detail

// double(long double(a) + b)
inline double extendedSum(double a, double b) {
  const double s = a + b;
  const double bPart = s - a;
  const double error = (a - (s - bPart)) + (b - bPart);  // exact (Knuth's two-sum)
  if (detail::singleRoundingHolds(s, error)) [[likely]] {
    return s;
  }
  return static_cast<double>(static_cast<long double>(a) + b);
}

// double(long double(a) * f) for a float factor f
inline double extendedProduct(double a, float f) {
  const double b = f;
  const double p = a * b;
  // Dekker's exact product; b has 24 bits, so only a needs splitting.
  const double spread = a * 134217729.0;  // 2^27 + 1
  const double high = spread - (spread - a);
  const double low = a - high;
  const double error = (high * b - p) + low * b;
  if (detail::singleRoundingHolds(p, error)) [[likely]] {
    return p;
  }
  return static_cast<double>(static_cast<long double>(a) * f);
}

// The phase wrap: double(long double(phase) - 2 pi) once phase exceeds 2 pi (extended).
class Wrap {
 public:
  Wrap() {
    twoPiHigh_ = static_cast<double>(kTwoPi);
    twoPiLow_ = static_cast<double>(kTwoPi - twoPiHigh_);  // 11 bits: exact
    firstAbove_ = static_cast<long double>(twoPiHigh_) > kTwoPi ? twoPiHigh_
                                                                : std::nextafter(twoPiHigh_, 8.0);
  }

  double operator()(double phase) const {
    if (phase < firstAbove_) [[likely]] {
      return phase;
    }
    // Below 8, phase - twoPiHigh is exact (Sterbenz) and so is phase - kTwoPi in 64 bits:
    // one rounding either way.
    if (phase < 8.0) return (phase - twoPiHigh_) - twoPiLow_;
    if (!(static_cast<long double>(phase) > kTwoPi)) return phase;  // NaN
    return static_cast<double>(static_cast<long double>(phase) - kTwoPi);
  }

 private:
  double twoPiHigh_;
  double twoPiLow_;
  double firstAbove_;  // the smallest double above 2 pi in extended precision
};

}  // namespace quor::phase
