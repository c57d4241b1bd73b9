// Placeholder until the fast path lands: the plain definition.
#include "SampleSynthesis.h"

namespace quor {

bool FillBuffer(WorkingValues& values, const FillInputs& inputs, uint8_t* buffer, int32_t size) {
  return reference::FillBuffer(values, inputs, buffer, size);
}

}  // namespace quor
