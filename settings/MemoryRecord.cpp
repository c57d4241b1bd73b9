#include "MemoryRecord.h"

#include <stdexcept>

namespace quor {

namespace {

constexpr const char* kConstantPage = "constant";
constexpr const char* kSweepPage = "sweep";

// The fields that both the store and the start-up content take from the window.
void captureTexts(MemoryRecord& record, const ToneControls& controls) {
  record.fEdit = controls.text(Control::fEdit);
  record.InitFreq = controls.text(Control::fInit);
  record.FinalFreq = controls.text(Control::fFinal);
  record.ActivePage = controls.activePage() == SignalPage::Constant ? kConstantPage : kSweepPage;
  record.Duration = controls.text(Control::Duration);
  record.Amplitude = controls.text(Control::Amplitude);
}

}  // namespace

MemoryRecord& memorySlot(Memories& memories, int slot) {
  if (slot < 1 || slot > kMemorySlots) {
    throw std::out_of_range("memory slot " + std::to_string(slot) + " is not 1 to 4");
  }
  return memories[static_cast<size_t>(slot - 1)];
}

const MemoryRecord& memorySlot(const Memories& memories, int slot) {
  return memorySlot(const_cast<Memories&>(memories), slot);
}

void StoreMemory(Memories& memories, int slot, const ToneControls& controls) {
  MemoryRecord& record = memorySlot(memories, slot);
  captureTexts(record, controls);
  record.WaveForm = controls.itemIndex(Control::WaveForm);
  record.Loop = controls.checked(Control::chkLoop);
  record.PositiveOffset = controls.checked(Control::chkPositiveOffset);
  record.Pulses = controls.text(Control::Pulses);
  record.DutyCycle = controls.text(Control::DutyCycle);
  record.Logarithmic = controls.checked(Control::Logarithmic);
}

void RecallMemory(const Memories& memories, int slot, ToneControls& controls) {
  // A copy: the click handlers that run in between may store into the same slot.
  const MemoryRecord record = memorySlot(memories, slot);
  controls.setItemIndex(Control::WaveForm, record.WaveForm);
  // Only the exact lower-case word selects the constant page; anything else means a sweep.
  controls.setActivePage(record.ActivePage == kConstantPage ? SignalPage::Constant
                                                            : SignalPage::Sweep);
  controls.setText(Control::fEdit, record.fEdit);
  controls.setText(Control::fInit, record.InitFreq);
  controls.setText(Control::fFinal, record.FinalFreq);
  controls.setText(Control::Duration, record.Duration);
  controls.setText(Control::Amplitude, record.Amplitude);
  controls.setChecked(Control::chkLoop, record.Loop);
  controls.setChecked(Control::Logarithmic, record.Logarithmic);
  controls.setChecked(Control::chkPositiveOffset, record.PositiveOffset);
  controls.setText(Control::Pulses, record.Pulses);
  controls.setText(Control::DutyCycle, record.DutyCycle);
}

void initialiseMemories(Memories& memories, const ToneControls& controls) {
  for (int slot = 1; slot <= kMemorySlots; ++slot) {
    MemoryRecord& record = memorySlot(memories, slot);
    record = MemoryRecord{};
    record.Name = "Memory " + std::to_string(slot);
    captureTexts(record, controls);
    record.Loop = controls.checked(Control::chkLoop);
    record.Pulses = controls.text(Control::Pulses);
    record.DutyCycle = controls.text(Control::DutyCycle);
    record.Logarithmic = controls.checked(Control::Logarithmic);
  }
}

}  // namespace quor
