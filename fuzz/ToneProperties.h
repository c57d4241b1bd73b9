#pragma once
// What must hold of any tone the engine has started, whoever started it: a harness that plays
// through the simulated device checks its working values, the samples the device played and
// one more fill between guard bytes.
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "FuzzProperty.h"
#include "ToneEngine.h"

namespace quor::fuzz {

inline void requireFiniteValues(const WorkingValues& v) {
  require(v.SampleRate > 0, "a positive sample rate");
  require(v.SamplesPerPeriod > 0, "a period of samples");
  for (float frequency : {v.NormInitFreq, v.NormFinalFreq})
    require(frequency > 0 && frequency < 0.5f, "frequencies within the bandwidth");
  for (double value :
       {v.PhaseIncrement, static_cast<double>(v.SweepStep), static_cast<double>(v.SweepFactor),
        static_cast<double>(v.AmplitudeFactor), static_cast<double>(v.DutyFraction), v.Phase})
    require(std::isfinite(value), "finite working values");
  require(v.PulsesPerSecond >= 0 && v.PulsesPerSecond <= v.SampleRate,
          "at least one sample per pulse");
}

// Lowest and highest sample of the format: 16-bit signed or 8-bit unsigned, the positive
// offset keeping the signal above its zero level.
inline std::pair<int, int> sampleRange(int bits, bool offset) {
  if (bits == 16) return {offset ? 1 : -32767, 32767};
  return {offset ? 128 : 1, 255};
}

inline void requireSamplesInRange(const std::vector<uint8_t>& bytes, int bits, bool offset) {
  const auto [lowest, highest] = sampleRange(bits, offset);
  const size_t step = bits == 16 ? 2 : 1;
  for (size_t i = 0; i + step <= bytes.size(); i += step) {
    int sample = bytes[i];
    if (bits == 16) sample = static_cast<int16_t>(bytes[i] | bytes[i + 1] << 8);
    require(sample >= lowest && sample <= highest, "samples within the format's range");
  }
}

// One more fill of a buffer between guard bytes: not one of them may change.
inline void requireFillStaysInside(ToneEngine& engine, int32_t size) {
  constexpr size_t kGuard = 64;
  constexpr uint8_t kPattern = 0xA5;
  std::vector<uint8_t> memory(static_cast<size_t>(size) + 2 * kGuard, kPattern);
  int32_t filled = size;
  engine.toneSwitch.AudioOut1FillBuffer(memory.data() + kGuard, filled);
  require(filled == size, "the fill keeps the buffer's size");
  for (size_t i = 0; i < kGuard; ++i) {
    require(memory[i] == kPattern && memory[memory.size() - 1 - i] == kPattern,
            "no sample is written outside the buffer");
  }
}

}  // namespace quor::fuzz
