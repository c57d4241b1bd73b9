// The plain definition of the samples: every step in extended precision, stored values
// rounded to their own width. Slow (one sinl per sample) and the yardstick for FillBuffer.
#include <cmath>

#include "Conversions.h"
#include "PulseGate.h"
#include "SampleSynthesis.h"

namespace quor {

int32_t sign(double x) {
  return x < 0 ? -1 : 1;
}

float triangle(float x) {
  const float a = static_cast<float>(sinl(static_cast<long double>(x)));
  if (std::fabs(a) == 1.0f) return a;
  const long double la = a;
  return static_cast<float>(atanl(la / sqrtl(1.0L - la * la)) * 2.0L / kPi);
}

namespace reference {

int32_t NextSample(WorkingValues& v, int32_t waveform, bool sweep) {
  v.Phase = static_cast<double>(static_cast<long double>(v.Phase) + v.PhaseIncrement);
  if (sweep) {
    v.PhaseIncrement = static_cast<double>(
        static_cast<long double>(v.PhaseIncrement) * v.SweepFactor + v.SweepStep);
  }
  if (static_cast<long double>(v.Phase) > kTwoPi) {
    v.Phase = static_cast<double>(static_cast<long double>(v.Phase) - kTwoPi);
  }

  int32_t sample = 0;
  const bool gatedOff =
      v.PulsesPerSecond != 0 && !pulseSounds(pulsePeriod(v), v.DutyFraction, v.SampleCounter);
  if (!gatedOff) {
    const long double scale = 32767.0L * v.AmplitudeFactor;
    switch (waveform) {
      case static_cast<int32_t>(WaveformKind::Sine):
        sample = RoundHalfEven(sinl(static_cast<long double>(v.Phase)) * scale);
        break;
      case static_cast<int32_t>(WaveformKind::Square):
        sample = RoundHalfEven(sign(static_cast<double>(sinl(v.Phase))) * scale);
        break;
      case static_cast<int32_t>(WaveformKind::Triangular):
        sample = RoundHalfEven(triangle(static_cast<float>(v.Phase)) * scale);
        break;
      default:
        break;
    }
  }
  if (v.PositiveOffsetOn) sample = sample / 2 + 16384;
  return sample;
}

namespace {

// A period with no samples never sounds, looping or not, so such a tone cannot start.
bool computesSample(const WorkingValues& v, bool loop) {
  return v.SampleCounter < v.SamplesPerPeriod || (loop && v.SamplesPerPeriod > 0);
}

void endOfSlot(WorkingValues& v, bool loop) {
  v.SampleCounter = nextCounter(v.SampleCounter);
  if (v.SampleCounter == v.SamplesPerPeriod && loop) {
    v.SampleCounter = 0;
    v.PhaseIncrement = initialIncrement(v);
  }
}

bool answer(const WorkingValues& v, bool loop) {
  if (v.SamplesPerPeriod <= 0) return false;
  return !(v.SampleCounter >= v.SamplesPerPeriod && !loop);
}

}  // namespace

bool FillBuffer(WorkingValues& v, const FillInputs& in, uint8_t* buffer, int32_t size) {
  if (in.bitsPerSample == 16) {
    for (int32_t slot = 0; slot + 1 < size; slot += 2) {
      if (computesSample(v, in.loop)) v.CurrentSample = NextSample(v, in.waveform, in.sweep);
      const auto bits = static_cast<uint16_t>(static_cast<uint32_t>(v.CurrentSample));
      buffer[slot] = static_cast<uint8_t>(bits & 0xFF);
      buffer[slot + 1] = static_cast<uint8_t>(bits >> 8);
      endOfSlot(v, in.loop);
    }
  } else {
    for (int32_t slot = 0; slot < size; ++slot) {
      if (computesSample(v, in.loop)) {
        const bool gatedOff =
            v.PulsesPerSecond != 0 && !pulseSounds(pulsePeriod(v), v.DutyFraction, v.SampleCounter);
        if (!gatedOff) v.CurrentSample = NextSample(v, in.waveform, in.sweep);
      }
      buffer[slot] = static_cast<uint8_t>(v.CurrentSample / 256 + 128);
      endOfSlot(v, in.loop);
    }
  }
  return answer(v, in.loop);
}

}  // namespace reference
}  // namespace quor
