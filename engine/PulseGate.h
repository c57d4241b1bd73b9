#pragma once
#include <cstdint>

#include "WorkingValues.h"

namespace quor {

// Pulse period in samples. The apply keeps PulsesPerSecond within 0..SampleRate, so this is
// at least one sample; the guard keeps hand-made values from dividing by zero.
inline int32_t pulsePeriod(const WorkingValues& v) {
  const int32_t p = v.PulsesPerSecond != 0 ? v.SampleRate / v.PulsesPerSecond : 0;
  return p < 1 ? 1 : p;
}

// Whether the sample at `counter` sounds; only meaningful while PulsesPerSecond != 0.
inline bool pulseSounds(int32_t period, float dutyFraction, int32_t counter) {
  // period * duty is exact in double (17 + 24 bits), so this compares as real numbers.
  return static_cast<double>(period) * static_cast<double>(dutyFraction) >
         static_cast<double>(counter % period);
}

// The counter counts on past the period's end; it wraps rather than overflowing.
inline int32_t nextCounter(int32_t counter) {
  return static_cast<int32_t>(static_cast<uint32_t>(counter) + 1u);
}

inline double initialIncrement(const WorkingValues& v) {
  return static_cast<double>(static_cast<long double>(v.NormInitFreq) * 2.0L * kPi);
}

}  // namespace quor
