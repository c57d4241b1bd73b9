#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ToneControls.h"

namespace quor {

// The main window's tone controls held in memory, in the window's initial layout: the texts
// "1000", "100", "10000", "100", "3", "0", "50"; Loop and Logarithmic checked; the lists filled
// but without selection; the pulse fields disabled; LED red. Serves the command-line tool and
// the tests. Program changes raise events exactly as the window's controls do; the user*
// methods stand for what a person does with mouse and keyboard.
class MemoryControls : public ToneControls {
 public:
  MemoryControls();

  void setEventSink(ControlEventSink* sink) override { sink_ = sink; }

  std::string text(Control control) const override;
  void setText(Control control, const std::string& text) override;
  bool checked(Control control) const override;
  void setChecked(Control control, bool checked) override;
  int itemIndex(Control control) const override;
  void setItemIndex(Control control, int index) override;
  std::vector<std::string> items(Control control) const override;
  void setItems(Control control, const std::vector<std::string>& items) override;
  SignalPage activePage() const override { return page_; }
  void setActivePage(SignalPage page) override { page_ = page; }
  bool enabled(Control control) const override;
  void setEnabled(Control control, bool enabled) override;
  bool visible(Control control) const override;
  void setVisible(Control control, bool visible) override;
  LedColour led() const override { return led_; }
  void setLed(LedColour colour) override { led_ = colour; }
  bool menuChecked(MenuOption option) const override;
  void setMenuChecked(MenuOption option, bool checked) override;
  bool sliderExists() const override { return sliderExists_; }
  void setSliderPosition(int position) override { sliderPosition_ = position; }
  void setSliderRange(int maximum, const std::string& maximumFrequencyText) override;
  void showMessage(const std::string& text) override { messages_.push_back(text); }
  void flashScreen() override { ++flashes_; }
  void hideScriptDialog() override;

  // Where a failed start's hiding of the script dialog goes: the dialog of the script host.
  std::function<void()> onHideScriptDialog;

  // What a user does: type a text and leave the field; pick a list item; click a check box
  // or the pulsed group.
  void userType(Control control, const std::string& text);
  void userLeave(Control control);
  void userSelect(Control control, int index);
  void userClick(Control control);

  // Test and tool access to the window-side effects.
  void createSlider() { sliderExists_ = true; }
  int sliderPosition() const { return sliderPosition_; }
  int sliderMaximum() const { return sliderMaximum_; }
  const std::string& sliderMaximumText() const { return sliderMaximumText_; }
  const std::vector<std::string>& messages() const { return messages_; }
  int flashes() const { return flashes_; }
  int scriptDialogHides() const { return scriptDialogHides_; }

 private:
  void raise(Control control, ControlEvent event);

  ControlEventSink* sink_ = nullptr;
  std::map<Control, std::string> texts_;
  std::map<Control, bool> checks_;
  std::map<Control, std::vector<std::string>> items_;
  std::map<Control, int> indexes_;
  std::map<Control, bool> enabled_;
  std::map<Control, bool> visible_;
  std::map<MenuOption, bool> menu_;
  SignalPage page_ = SignalPage::Constant;
  LedColour led_ = LedColour::Red;
  bool sliderExists_ = false;
  int sliderPosition_ = 0;
  int sliderMaximum_ = 0;
  std::string sliderMaximumText_;
  std::vector<std::string> messages_;
  int flashes_ = 0;
  int scriptDialogHides_ = 0;
};

}  // namespace quor
