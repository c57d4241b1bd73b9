#pragma once
#include <string>
#include <vector>

namespace quor {

// The main window's controls that the engine reads and writes, by their window names.
enum class Control {
  fEdit,
  fInit,
  fFinal,
  Logarithmic,
  Amplitude,
  Duration,
  chkLoop,
  WaveForm,
  Pulses,
  DutyCycle,
  PulsedOn,
  PulsesUpDown,
  DutyCycleUpDown,
  chkPositiveOffset,
  GroupBox3,  // the pulsed-signal group; a click on it applies
  FSList,
  cboSoundQuality,
  BufferSizeEdit,
  Buffers,
  WaveDevice,
  Label11,  // caption of the device list
  OnButton,
};

enum class SignalPage { Constant, Sweep };

// Check items of the Tools menu.
enum class MenuOption { FreqSlider1, DisableScreensaver, Flashscreenwhenfinished1 };

enum class LedColour { Red, Lime };  // RGB 255,0,0 while silent; 0,255,0 while a tone sounds

enum class ControlEvent { Change, Click, Exit };

// Receives the events that the controls raise. ControlWiring routes them to the handlers.
class ControlEventSink {
 public:
  virtual ~ControlEventSink() = default;
  virtual void controlEvent(Control control, ControlEvent event) = 0;
};

// Stands in for the main window, so that the engine runs on widgets, on the command line
// and in tests alike. Event rules that handlers rely on:
//  - setText with a text that differs from the current one raises Change;
//  - setChecked with a state that differs raises Click;
//  - setItemIndex and setActivePage raise nothing (only a user's choice does);
//  - exceptions thrown by a handler propagate out of the setter that raised the event.
class ToneControls {
 public:
  virtual ~ToneControls() = default;

  virtual void setEventSink(ControlEventSink* sink) = 0;

  // Text of an edit; for a list, the text of the selected item ("" without selection).
  virtual std::string text(Control control) const = 0;
  virtual void setText(Control control, const std::string& text) = 0;

  virtual bool checked(Control control) const = 0;
  virtual void setChecked(Control control, bool checked) = 0;

  // Lists: FSList, cboSoundQuality, BufferSizeEdit, Buffers, WaveDevice, WaveForm. -1: none.
  virtual int itemIndex(Control control) const = 0;
  virtual void setItemIndex(Control control, int index) = 0;
  virtual std::vector<std::string> items(Control control) const = 0;
  virtual void setItems(Control control, const std::vector<std::string>& items) = 0;

  virtual SignalPage activePage() const = 0;
  virtual void setActivePage(SignalPage page) = 0;

  virtual bool enabled(Control control) const = 0;
  virtual void setEnabled(Control control, bool enabled) = 0;
  virtual bool visible(Control control) const = 0;
  virtual void setVisible(Control control, bool visible) = 0;

  virtual LedColour led() const = 0;
  virtual void setLed(LedColour colour) = 0;

  virtual bool menuChecked(MenuOption option) const = 0;
  virtual void setMenuChecked(MenuOption option, bool checked) = 0;

  // The frequency slider window, which exists only once it has been created.
  virtual bool sliderExists() const = 0;
  virtual void setSliderPosition(int position) = 0;
  virtual void setSliderRange(int maximum, const std::string& maximumFrequencyText) = 0;

  // Window-side effects of switching a tone.
  virtual void showMessage(const std::string& text) = 0;  // modal box, OK button, app title
  virtual void flashScreen() = 0;                         // btnFlashClick
  virtual void hideScriptDialog() = 0;                    // ends a script run
};

}  // namespace quor
