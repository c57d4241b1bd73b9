#include "FirstStart.h"

#include "WindowLayout.h"

namespace quor {

void prepareFirstStart(ToneEngine& engine, ToneControls& controls) {
  controls.setActivePage(SignalPage::Constant);
  for (const auto& selection : firstStartSelections()) {
    controls.setItemIndex(selection.list, selection.index);
  }
  if (controls.itemIndex(Control::WaveDevice) < 0) controls.setItemIndex(Control::WaveDevice, 0);
  for (MenuOption option : {MenuOption::Flashscreenwhenfinished1, MenuOption::DisableScreensaver,
                            MenuOption::FreqSlider1}) {
    controls.setMenuChecked(option, false);
  }
  controls.setChecked(Control::chkPositiveOffset, false);
  engine.parameters.cboSoundQualityChange();
  engine.values.SampleRate = engine.parameters.sampleRateFromBandwidth();
  // The frequency slider's creation runs the bandwidth handler, and with it the first apply.
  engine.parameters.FSListChange();
}

}  // namespace quor
