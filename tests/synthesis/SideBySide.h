#pragma once
// Runs the fast fill and the plain definition on copies of the same working values and
// reports the first difference in bytes, answers or working values.
#include <gtest/gtest.h>

#include <cstdint>

#include "SampleSynthesis.h"
#include "WorkingValues.h"

namespace quor::testing {

// A tone as the apply derives it from hertz, a level in dB and a period in samples.
struct ToneSetup {
  int32_t sampleRate = 22050;
  long double frequency = 1000.0L;       // constant, or initial sweep frequency
  long double finalFrequency = 1000.0L;  // used when sweeping
  bool logarithmic = false;
  int32_t samplesPerPeriod = 22050;
  int32_t level = 100;
  int32_t pulsesPerSecond = 0;
  float dutyCycle = 50.0f;  // per cent
  bool positiveOffset = false;
};

// The working values of a freshly started tone (counter and phase reset); `sweep` chooses
// between the constant tone and the sweep from frequency to finalFrequency.
WorkingValues startedTone(const ToneSetup& setup, bool sweep);

// Fills `buffers` buffers of `size` bytes through both paths, both starting from `values`,
// and compares after every buffer. `samples` (if given) grows by the slots filled.
::testing::AssertionResult fillsAgree(WorkingValues& values, const FillInputs& inputs, int32_t size,
                                      int32_t buffers, int64_t* samples = nullptr);

}  // namespace quor::testing
