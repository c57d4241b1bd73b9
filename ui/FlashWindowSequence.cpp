#include "FlashWindowSequence.h"

namespace quor {

void runScreenFlash(FlashSurface& surface, FlashPacing& pacing) {
  surface.showSurface();
  const FlashScreenSize screen = surface.screenSize();
  surface.place(0, 0, screen.width, screen.height);
  for (int cycle = 0; cycle < kFlashCycles; ++cycle) {
    pacing.processMessages();
    surface.setBackground(kFlashBlack);
    pacing.processMessages();
    pacing.wait(kFlashStepMs);
    pacing.processMessages();
    surface.setBackground(kFlashWhite);
    pacing.processMessages();
    pacing.wait(kFlashStepMs);
  }
  pacing.processMessages();
  surface.hideSurface();
  pacing.processMessages();
}

void Flashscreenwhenfinished1Click(ToneControls& controls) {
  controls.setMenuChecked(MenuOption::Flashscreenwhenfinished1,
                          !controls.menuChecked(MenuOption::Flashscreenwhenfinished1));
}

}  // namespace quor
