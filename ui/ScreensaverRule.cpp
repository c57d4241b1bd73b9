#include "ScreensaverRule.h"

namespace quor {

bool AppMessage(uint32_t message, uint64_t firstParameter, bool outputActive,
                bool disableScreensaverChecked) {
  return message == kWmSysCommand && firstParameter == kScScreensave && outputActive &&
         disableScreensaverChecked;
}

void DisableScreensaverClick(ToneControls& controls) {
  controls.setMenuChecked(MenuOption::DisableScreensaver,
                          !controls.menuChecked(MenuOption::DisableScreensaver));
}

}  // namespace quor
