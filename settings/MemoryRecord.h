#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "ToneControls.h"

namespace quor {

// One complete tone setting in the window's own text forms, plus the name its button shows.
// Texts are kept exactly as typed: nothing here converts or validates.
struct MemoryRecord {
  std::string Name;
  std::string fEdit;
  std::string InitFreq;
  std::string FinalFreq;
  std::string ActivePage;  // "constant" or "sweep"
  std::string Duration;
  std::string Amplitude;
  int32_t WaveForm = 0;
  bool Loop = false;
  std::string Pulses;
  std::string DutyCycle;
  bool Logarithmic = false;
  bool PositiveOffset = false;

  bool operator==(const MemoryRecord&) const = default;
};

inline constexpr int kMemorySlots = 4;

// The four presets; slot n (1 to 4) is element n - 1.
using Memories = std::array<MemoryRecord, kMemorySlots>;

// Captures the window into a slot. The slot's Name stays as it is.
void StoreMemory(Memories& memories, int slot, const ToneControls& controls);

// Puts a slot back into the window as program changes, in an order that matters: the check
// boxes' click handlers apply the tone while only the earlier fields are in place.
void RecallMemory(const Memories& memories, int slot, ToneControls& controls);

// The start-up content: every slot captured from the window's initial controls, except the
// waveform and the positive offset, and named "Memory 1" to "Memory 4".
void initialiseMemories(Memories& memories, const ToneControls& controls);

// Throws std::out_of_range for a slot outside 1 to 4.
MemoryRecord& memorySlot(Memories& memories, int slot);
const MemoryRecord& memorySlot(const Memories& memories, int slot);

}  // namespace quor
