#include "WindowLayout.h"

namespace quor {

const std::vector<std::string>& bandwidthItems() {
  static const std::vector<std::string> items{"5512.5", "11025", "22050", "24000", "48000"};
  return items;
}

const std::vector<std::string>& resolutionItems() {
  static const std::vector<std::string> items{"8 bit", "16 bit"};
  return items;
}

const std::vector<std::string>& bufferSizeItems() {
  // 64536, not 65536: the largest size the window has always offered.
  static const std::vector<std::string> items{"4096", "8192", "16384", "32768", "64536"};
  return items;
}

const std::vector<std::string>& bufferCountItems() {
  static const std::vector<std::string> items{"2", "3", "4"};
  return items;
}

const std::vector<std::string>& waveformItems() {
  static const std::vector<std::string> items{"Sine", "Square", "Triangular"};
  return items;
}

const std::vector<InitialControl>& initialTexts() {
  static const std::vector<InitialControl> texts{
      {Control::fEdit, "1000"},    {Control::fInit, "100"},  {Control::fFinal, "10000"},
      {Control::Amplitude, "100"}, {Control::Duration, "3"}, {Control::Pulses, "0"},
      {Control::DutyCycle, "50"},
  };
  return texts;
}

const std::vector<Control>& initiallyChecked() {
  static const std::vector<Control> checked{Control::chkLoop, Control::Logarithmic};
  return checked;
}

const std::vector<DefaultSelection>& firstStartSelections() {
  static const std::vector<DefaultSelection> selections{
      {Control::FSList, 1},          {Control::Buffers, 2},  {Control::BufferSizeEdit, 2},
      {Control::cboSoundQuality, 1}, {Control::WaveForm, 0},
  };
  return selections;
}

}  // namespace quor
