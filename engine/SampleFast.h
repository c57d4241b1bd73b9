#pragma once
#include <cstdint>

namespace quor {

// How many samples FillBuffer has handed to the extended-precision computation because the
// double-precision result lay too close to a rounding boundary (or outside the fast range).
// Tests read it to prove that those paths run.
uint64_t exactFallbackCount();

// Makes FillBuffer use its SSE2 kernels even where AVX2 is available, so that tests cover
// both builds of the kernels on any machine.
void useBaselineKernelsOnly(bool on);

}  // namespace quor
