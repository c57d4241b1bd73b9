#include "MemoryControls.h"

#include "WindowLayout.h"

namespace quor {

MemoryControls::MemoryControls() {
  for (const auto& initial : initialTexts()) texts_[initial.control] = initial.text;
  for (Control c : initiallyChecked()) checks_[c] = true;
  items_[Control::FSList] = bandwidthItems();
  items_[Control::cboSoundQuality] = resolutionItems();
  items_[Control::BufferSizeEdit] = bufferSizeItems();
  items_[Control::Buffers] = bufferCountItems();
  items_[Control::WaveForm] = waveformItems();
  items_[Control::WaveDevice] = {"Default Windows Device"};
  for (Control c :
       {Control::Pulses, Control::DutyCycle, Control::PulsesUpDown, Control::DutyCycleUpDown}) {
    enabled_[c] = false;
  }
  menu_[MenuOption::DisableScreensaver] = true;
  menu_[MenuOption::Flashscreenwhenfinished1] = true;
}

void MemoryControls::raise(Control control, ControlEvent event) {
  if (sink_ != nullptr) sink_->controlEvent(control, event);
}

std::string MemoryControls::text(Control control) const {
  if (const auto list = items_.find(control); list != items_.end()) {
    const int index = itemIndex(control);
    return index >= 0 && index < static_cast<int>(list->second.size()) ? list->second[index] : "";
  }
  const auto found = texts_.find(control);
  return found == texts_.end() ? std::string() : found->second;
}

void MemoryControls::setText(Control control, const std::string& text) {
  if (items_.count(control) != 0) return;  // lists take no typed text
  if (this->text(control) == text) return;
  texts_[control] = text;
  raise(control, ControlEvent::Change);
}

bool MemoryControls::checked(Control control) const {
  const auto found = checks_.find(control);
  return found != checks_.end() && found->second;
}

void MemoryControls::setChecked(Control control, bool checked) {
  if (this->checked(control) == checked) return;
  checks_[control] = checked;
  raise(control, ControlEvent::Click);
}

int MemoryControls::itemIndex(Control control) const {
  const auto found = indexes_.find(control);
  return found == indexes_.end() ? -1 : found->second;
}

void MemoryControls::setItemIndex(Control control, int index) {
  const auto list = items_.find(control);
  if (list == items_.end()) return;
  // As a list control does, an index outside the items leaves the list without selection.
  indexes_[control] = index >= 0 && index < static_cast<int>(list->second.size()) ? index : -1;
}

std::vector<std::string> MemoryControls::items(Control control) const {
  const auto found = items_.find(control);
  return found == items_.end() ? std::vector<std::string>() : found->second;
}

void MemoryControls::setItems(Control control, const std::vector<std::string>& items) {
  items_[control] = items;
  indexes_[control] = -1;
}

bool MemoryControls::enabled(Control control) const {
  const auto found = enabled_.find(control);
  return found == enabled_.end() || found->second;
}

void MemoryControls::setEnabled(Control control, bool enabled) {
  enabled_[control] = enabled;
}

bool MemoryControls::visible(Control control) const {
  const auto found = visible_.find(control);
  return found == visible_.end() || found->second;
}

void MemoryControls::setVisible(Control control, bool visible) {
  visible_[control] = visible;
}

bool MemoryControls::menuChecked(MenuOption option) const {
  const auto found = menu_.find(option);
  return found != menu_.end() && found->second;
}

void MemoryControls::setMenuChecked(MenuOption option, bool checked) {
  menu_[option] = checked;
}

void MemoryControls::setSliderRange(int maximum, const std::string& maximumFrequencyText) {
  sliderMaximum_ = maximum;
  sliderMaximumText_ = maximumFrequencyText;
}

void MemoryControls::hideScriptDialog() {
  ++scriptDialogHides_;
  if (onHideScriptDialog) onHideScriptDialog();
}

void MemoryControls::userType(Control control, const std::string& text) {
  setText(control, text);
}

void MemoryControls::userLeave(Control control) {
  raise(control, ControlEvent::Exit);
}

void MemoryControls::userSelect(Control control, int index) {
  setItemIndex(control, index);
  raise(control, ControlEvent::Change);
}

void MemoryControls::userClick(Control control) {
  if (control == Control::GroupBox3) {
    raise(control, ControlEvent::Click);
    return;
  }
  setChecked(control, !checked(control));
}

}  // namespace quor
