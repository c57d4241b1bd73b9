#pragma once
#include "MemoryRecord.h"
#include "PresetFaces.h"
#include "ToneControls.h"

namespace quor {

// The four memory presets: recall on a click of a button, store and rename from its pop-up
// menu. One routine per operation serves every slot.
class Presets {
 public:
  Presets(ToneControls& controls, PresetFaces& faces);

  // Start-up: the slots take the window's initial settings and the buttons their names.
  void initialise();
  // Each button's caption becomes its slot's name, as after a settings file has been loaded.
  void showNames();

  void recall(int slot);  // RecallMemory; a playing tone goes on
  void store(int slot);   // StoreMemory; name and caption stay

  void BeginRename(int slot);
  // Ends a rename, keeping whatever the edit holds; run on Enter and whenever the edit loses
  // the focus, so it may run twice in a row with the same result.
  void CommitRename(int slot);

  Memories memories;

 private:
  bool anyRenameOpen() const;

  ToneControls& controls_;
  PresetFaces& faces_;
};

}  // namespace quor
