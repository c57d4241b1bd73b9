#pragma once
#include <QStringList>

namespace quor {

// How the editor's Play sounds: as the generator's window would play the script, with the
// output settings, the waveform and the offset that the window keeps between runs.
struct ScriptPlaySettings {
  int bandwidthIndex = 1;  // item of FSList
  // quorgen's options for everything else: --bits, --buffers, --buffer-size, --waveform and,
  // when it is on, --offset.
  QStringList options;
};

// Reads the window's kept settings; the first-start ones where there are none.
ScriptPlaySettings keptScriptPlaySettings();

}  // namespace quor
