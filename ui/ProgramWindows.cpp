#include "ProgramWindows.h"

#include "TfrmFrequencySlider.h"

namespace quor {

std::unique_ptr<TfrmGenerator> createProgramWindows(GeneratorServices services) {
  auto frmGenerator = std::make_unique<TfrmGenerator>(std::move(services));
  TfrmFrequencySlider& slider =
      frmGenerator->attachFrequencySlider(std::make_unique<TfrmFrequencySlider>(*frmGenerator));
  frmGenerator->guarded([&slider] { slider.FormCreate(); });
  return frmGenerator;
}

}  // namespace quor
