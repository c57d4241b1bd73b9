#pragma once
#include <cstdint>
#include <string>

namespace quor {

// The frequency slider's logarithmic scale: position p stands for 2 × 10^(p / 1000) Hz, so a
// decade takes 1000 positions and position 0 is 2 Hz.

// The position for a frequency in hertz, rounded half to even. Frequencies of 0 or less have
// no position on the scale and give the lowest integer, which the track bar holds at its end.
int32_t SliderPosition(long double hertz);

// The frequency under a position, rounded to whole hertz, in decimal digits.
std::string WholeHertzText(int32_t position);

// The highest position for a sample rate: the bandwidth's half, sample rate div 4, taken as a
// 32-bit float before the logarithm.
int32_t SliderMaximumOfRate(int32_t sampleRate);

// The two ends of the scale behave alike in opposite directions.
enum class ScaleEnd { Minimum, Maximum };

// Whether `a` lies past `b` in the direction of `end`: above it for the maximum, below it for
// the minimum.
bool Beyond(ScaleEnd end, long double a, long double b);

struct SliderRange {
  int32_t minimum;
  int32_t maximum;
  bool operator==(const SliderRange&) const = default;
};

// The range with one end moved to `position`. Ends that would cross leave the range as it was.
SliderRange WithEnd(SliderRange range, ScaleEnd end, int32_t position);

// A frequency written back into a field: the general format with up to 15 significant digits
// and "." as the decimal point, whatever the locale.
std::string GeneralFormat(float hertz);

}  // namespace quor
