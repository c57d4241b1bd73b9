#pragma once
#include <string>

namespace quor {

// The window's side of the four preset buttons: their captions, the borderless name edits on
// their faces, and which button Enter presses. Slots are 1 to 4.
class PresetFaces {
 public:
  virtual ~PresetFaces() = default;

  virtual std::string buttonCaption(int slot) const = 0;
  virtual void setButtonCaption(int slot, const std::string& caption) = 0;

  virtual std::string nameEditText(int slot) const = 0;
  virtual void setNameEditText(int slot, const std::string& text) = 0;
  // Open: shown and enabled. Closed: hidden and disabled.
  virtual bool nameEditOpen(int slot) const = 0;
  virtual void setNameEditOpen(int slot, bool open) = 0;
  virtual void focusNameEdit(int slot) = 0;

  // Whether Enter presses OnButton, the window's default button.
  virtual bool onButtonDefault() const = 0;
  virtual void setOnButtonDefault(bool isDefault) = 0;
};

}  // namespace quor
