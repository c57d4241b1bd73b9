#include "Presets.h"

namespace quor {

Presets::Presets(ToneControls& controls, PresetFaces& faces) : controls_(controls), faces_(faces) {}

void Presets::initialise() {
  initialiseMemories(memories, controls_);
  showNames();
}

void Presets::showNames() {
  for (int slot = 1; slot <= kMemorySlots; ++slot) {
    faces_.setButtonCaption(slot, memorySlot(memories, slot).Name);
  }
}

void Presets::recall(int slot) {
  RecallMemory(memories, slot, controls_);
}

void Presets::store(int slot) {
  StoreMemory(memories, slot, controls_);
}

void Presets::BeginRename(int slot) {
  memorySlot(memories, slot);  // rejects a bad slot before anything changes
  faces_.setOnButtonDefault(false);
  faces_.setNameEditText(slot, faces_.buttonCaption(slot));
  faces_.setNameEditOpen(slot, true);
  faces_.focusNameEdit(slot);
}

void Presets::CommitRename(int slot) {
  const std::string name = faces_.nameEditText(slot);
  faces_.setButtonCaption(slot, name);
  memorySlot(memories, slot).Name = name;
  faces_.setNameEditOpen(slot, false);
  // Moving from one open name edit to another commits the first while the second is already
  // open; Enter must keep committing that second one instead of switching the tone.
  if (!anyRenameOpen()) faces_.setOnButtonDefault(true);
}

bool Presets::anyRenameOpen() const {
  for (int slot = 1; slot <= kMemorySlots; ++slot) {
    if (faces_.nameEditOpen(slot)) return true;
  }
  return false;
}

}  // namespace quor
