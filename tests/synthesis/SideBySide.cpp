#include "SideBySide.h"

#include <bit>
#include <cmath>
#include <vector>

namespace quor::testing {

WorkingValues startedTone(const ToneSetup& s, bool sweep) {
  WorkingValues v;
  v.SampleRate = s.sampleRate;
  v.PulsesPerSecond = s.pulsesPerSecond;
  v.DutyFraction = static_cast<float>(s.dutyCycle / 100.0f);
  v.PositiveOffsetOn = s.positiveOffset;
  v.SamplesPerPeriod = s.samplesPerPeriod;
  const long double rate = s.sampleRate;
  const long double f = s.frequency;
  const long double g = sweep ? s.finalFrequency : s.frequency;
  v.NormInitFreq = static_cast<float>(f / rate);
  v.NormFinalFreq = static_cast<float>(g / rate);
  v.PhaseIncrement = static_cast<double>(v.NormInitFreq * 2.0L * kPi);
  // From the stored float32 frequencies, as the apply does.
  const long double steps = s.samplesPerPeriod - 1;
  if (sweep && s.logarithmic) {
    v.SweepFactor =
        static_cast<float>(expl((logl(v.NormFinalFreq) - logl(v.NormInitFreq)) / steps));
  } else if (sweep) {
    v.SweepStep = static_cast<float>((static_cast<long double>(v.NormFinalFreq) - v.NormInitFreq) *
                                     2.0L * kPi / steps);
  }
  v.AmplitudeFactor = static_cast<float>(powl(10.0L, (s.level - 100) / 20.0L));
  v.Phase = 0.0;
  v.SampleCounter = 0;
  return v;
}

namespace {

bool sameBits(double a, double b) {
  return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

}  // namespace

::testing::AssertionResult fillsAgree(WorkingValues& values, const FillInputs& inputs, int32_t size,
                                      int32_t buffers, int64_t* samples) {
  WorkingValues plain = values;
  // One guard byte past the end shows a write beyond `size`.
  std::vector<uint8_t> fast(static_cast<size_t>(size) + 1, 0xA5);
  std::vector<uint8_t> slow(static_cast<size_t>(size) + 1, 0x5A);
  for (int32_t n = 0; n < buffers; ++n) {
    const bool fastAnswer = FillBuffer(values, inputs, fast.data(), size);
    const bool slowAnswer = reference::FillBuffer(plain, inputs, slow.data(), size);
    const int32_t written = inputs.bitsPerSample == 16 ? size / 2 * 2 : size;
    for (int32_t i = 0; i < written; ++i) {
      if (fast[i] != slow[i]) {
        return ::testing::AssertionFailure()
               << "buffer " << n << " byte " << i << ": fast " << int(fast[i]) << ", plain "
               << int(slow[i]) << " (counter now " << plain.SampleCounter << ")";
      }
    }
    if (fast[size] != 0xA5) return ::testing::AssertionFailure() << "wrote past the end";
    if (fastAnswer != slowAnswer) {
      return ::testing::AssertionFailure() << "buffer " << n << ": answers differ";
    }
    if (!sameBits(values.Phase, plain.Phase) ||
        !sameBits(values.PhaseIncrement, plain.PhaseIncrement) ||
        values.SampleCounter != plain.SampleCounter ||
        values.CurrentSample != plain.CurrentSample) {
      return ::testing::AssertionFailure()
             << "buffer " << n << ": working values differ: phase " << values.Phase << " / "
             << plain.Phase << ", increment " << values.PhaseIncrement << " / "
             << plain.PhaseIncrement << ", counter " << values.SampleCounter << " / "
             << plain.SampleCounter << ", sample " << values.CurrentSample << " / "
             << plain.CurrentSample;
    }
    if (samples != nullptr) *samples += inputs.bitsPerSample == 16 ? size / 2 : size;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace quor::testing
