#include "ProgramWindows.h"

#include "FlashWindow.h"
#include "TAboutBox.h"
#include "TfrmFrequencySlider.h"
#include "TfrmScript.h"

namespace quor {

std::unique_ptr<TfrmGenerator> createProgramWindows(GeneratorServices services) {
  auto frmGenerator = std::make_unique<TfrmGenerator>(std::move(services));
  frmGenerator->attachAboutBox(std::make_unique<TAboutBox>());
  frmGenerator->attachScriptDialog(std::make_unique<TfrmScript>(*frmGenerator));
  frmGenerator->attachFlashWindow(std::make_unique<TfrmFlash>());
  TfrmFrequencySlider& slider =
      frmGenerator->attachFrequencySlider(std::make_unique<TfrmFrequencySlider>(*frmGenerator));
  frmGenerator->guarded([&slider] { slider.FormCreate(); });
  return frmGenerator;
}

}  // namespace quor
