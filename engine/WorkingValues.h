#pragma once
#include <cstdint>

namespace quor {

// The tone's working values. The program keeps one set for its whole run; tests build a
// fresh one each. Frequencies are held normalised to the sample rate, never in hertz.
// Widths are part of the behaviour: every stored result is rounded to exactly this type.
struct WorkingValues {
  int32_t SampleRate = 0;       // samples per second, twice the bandwidth
  int32_t PulsesPerSecond = 0;  // 0: continuous tone
  float DutyFraction = 0.0f;    // sounding fraction of a pulse period
  bool PositiveOffsetOn = false;
  int32_t SamplesPerPeriod = 0;
  float NormInitFreq = 0.0f;  // cycles per sample
  float NormFinalFreq = 0.0f;
  double PhaseIncrement = 0.0;   // radians per sample
  float SweepStep = 0.0f;        // added to PhaseIncrement after each sample of a sweep
  float SweepFactor = 1.0f;      // applied to PhaseIncrement after each sample of a sweep
  float AmplitudeFactor = 1.0f;  // linear level, 1.0 = full scale

  // Running state of the tone.
  double Phase = 0.0;         // radians, kept at or below 2 pi by the generator
  int32_t SampleCounter = 0;  // next sample within the period
  int32_t CurrentSample = 0;  // last computed sample on the 16-bit scale, held between tones
  bool ToneBusy = false;      // from the output's start notification to its stop notification
};

// Item index of the WaveForm list; any other index is silence.
enum class WaveformKind : int32_t { Sine = 0, Square = 1, Triangular = 2 };

// Extended-precision pi, as the arithmetic of the engine uses it.
inline constexpr long double kPi = 3.141592653589793238462643383279502884L;
inline constexpr long double kTwoPi = 2.0L * kPi;

}  // namespace quor
