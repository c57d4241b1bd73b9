#pragma once
#include <cstdint>

#include "WorkingValues.h"

namespace quor {

// What a fill reads besides the working values. These cannot change during one fill, so they
// are read once per buffer.
struct FillInputs {
  int32_t waveform = 0;        // item index of WaveForm (WaveformKind); others: silence
  bool loop = false;           // chkLoop checked
  bool sweep = false;          // active page of SignalType is Sweep
  int32_t bitsPerSample = 16;  // 16: signed 16-bit slots; anything else: unsigned bytes
};

// -1 for x < 0, otherwise +1 (sign(0) is +1).
int32_t sign(double x);

// Triangle wave of phase x between -1 and +1: (2/pi) arcsin(sin x) with float32 steps.
float triangle(float x);

// Fills `size` bytes (whole samples) and answers whether more data follows: false once the
// period has been computed and chkLoop is unchecked. Writes nothing beyond `size`.
bool FillBuffer(WorkingValues& values, const FillInputs& inputs, uint8_t* buffer, int32_t size);

// The plain definition, sample by sample in extended precision. FillBuffer above must give
// the same bytes and the same working values; tests hold the two side by side.
namespace reference {
int32_t NextSample(WorkingValues& values, int32_t waveform, bool sweep);
bool FillBuffer(WorkingValues& values, const FillInputs& inputs, uint8_t* buffer, int32_t size);
}  // namespace reference

}  // namespace quor
