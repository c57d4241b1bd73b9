#include "FrequencyScale.h"

#include <charconv>
#include <cmath>

#include "Conversions.h"

namespace quor {

int32_t SliderPosition(long double hertz) {
  return RoundHalfEven(1000.0L * log10l(hertz / 2));
}

std::string WholeHertzText(int32_t position) {
  return std::to_string(RoundHalfEven(2.0L * powl(10.0L, position / 1000.0L)));
}

int32_t SliderMaximumOfRate(int32_t sampleRate) {
  const float quarter = static_cast<float>(sampleRate / 4);
  return RoundHalfEven(1000.0L * log10l(quarter));
}

bool Beyond(ScaleEnd end, long double a, long double b) {
  return end == ScaleEnd::Maximum ? a > b : a < b;
}

SliderRange WithEnd(SliderRange range, ScaleEnd end, int32_t position) {
  SliderRange moved = range;
  (end == ScaleEnd::Maximum ? moved.maximum : moved.minimum) = position;
  return moved.minimum <= moved.maximum ? moved : range;
}

std::string GeneralFormat(float hertz) {
  // to_chars never consults the locale, unlike printf once the window has set it.
  char digits[32];
  const auto written = std::to_chars(digits, digits + sizeof digits, static_cast<double>(hertz),
                                     std::chars_format::general, 15);
  return std::string(digits, written.ptr);
}

}  // namespace quor
