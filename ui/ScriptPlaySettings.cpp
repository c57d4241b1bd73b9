#include "ScriptPlaySettings.h"

#include "AppSettings.h"
#include "MemoryControls.h"

namespace quor {

ScriptPlaySettings keptScriptPlaySettings() {
  MemoryControls window;
  RestoreApplicationSettings(window);
  const auto item = [&window](Control list) { return QString::fromStdString(window.text(list)); };
  static const char* const kWaveforms[] = {"sine", "square", "triangular"};
  ScriptPlaySettings settings;
  settings.bandwidthIndex = window.itemIndex(Control::FSList);
  settings.options << "--bits" << item(Control::cboSoundQuality).section(' ', 0, 0) << "--buffers"
                   << item(Control::Buffers) << "--buffer-size" << item(Control::BufferSizeEdit)
                   << "--waveform" << kWaveforms[window.itemIndex(Control::WaveForm)];
  if (window.checked(Control::chkPositiveOffset)) settings.options << "--offset";
  return settings;
}

}  // namespace quor
