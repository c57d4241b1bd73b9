// Any bytes as a tone script file, run whole by the window's interpreter on the in-memory
// controls over the simulated device, in the virtual time of the tests' fake clock. Every tone
// a line starts has finite working values and fills inside its buffer; every sample played is
// within its format's range; and however the run ends, it ends as a run must: the dialog
// hidden, the main window enabled, Loop as it was and the tone off.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "EventLoop.h"
#include "FakeClockHost.h"
#include "FuzzProperty.h"
#include "ScriptInterpreter.h"
#include "SimulatedToneRun.h"
#include "ToneError.h"
#include "ToneProperties.h"

namespace {

using namespace quor;
using fuzz::require;

// Scripts that repeat or play long tones are cut short by Cancel, as a user would: after this
// many frames of virtual time (a few seconds of tones at any bandwidth) or this many lines (a
// loop of comments and repeats takes no time at all). Each input then runs in milliseconds.
constexpr int64_t kBudgetFrames = 3 * 22050;
constexpr int kBudgetLines = 64;

// The interpreter reads a file: one per process, written again for each input. In memory where
// there is a memory file system.
std::string scriptFileWith(const uint8_t* data, size_t size) {
  static const QString parent = QFile::exists("/dev/shm") ? "/dev/shm" : QDir::tempPath();
  static QTemporaryDir folder(parent + "/quor-fuzz-script-XXXXXX");
  const QString path = folder.filePath("input.qvs");
  QFile file(path);
  require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the script can be written");
  require(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
              static_cast<qint64>(size),
          "the whole script is written");
  return path.toStdString();
}

// What a script does not set, the window's other settings, picked by the input's length so
// that the corpus covers every waveform, both resolutions, bandwidths, the offset and Loop.
tools::QuorgenRequest windowSettingsFor(size_t size) {
  tools::QuorgenRequest request;
  request.waveform = static_cast<int>(size % 3);
  request.bits = static_cast<int>(size / 3 % 2);
  request.bandwidth = static_cast<int>(size / 6 % 5);
  request.offset = size / 30 % 2 == 1;
  if (size / 60 % 2 == 1) request.loopSeconds = 1.0;
  return request;
}

// A side fill of the tone that has just started, its running state put back, so that the run
// plays on as if it had not happened.
void requireToneStartedSoundly(ToneEngine& engine, int32_t bufferSize) {
  fuzz::requireFiniteValues(engine.values);
  const WorkingValues running = engine.values;
  fuzz::requireFillStaysInside(engine, bufferSize);
  engine.values = running;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string script = scriptFileWith(data, size);
  tools::SimulatedToneRun run;
  // One by one: clang 14's lambdas cannot capture structured bindings.
  audio::SimulatedWaveOut& device = run.device;
  audio::ToneOutputAdapter& output = run.output;
  MemoryControls& controls = run.controls;
  ToneEngine& engine = run.engine;
  const tools::QuorgenRequest settings = windowSettingsFor(size);
  run.setUp(settings);
  controls.setMenuChecked(MenuOption::Flashscreenwhenfinished1, size / 120 % 2 == 1);

  testing::FakeClockHost host{device};
  ScriptInterpreter interpreter{controls, engine, output, host};
  controls.onHideScriptDialog = [&] { host.hideDialog(); };
  host.at(kBudgetFrames * 1000 / engine.values.SampleRate, [&] { interpreter.cancel(); });
  int lines = 0;
  host.onLineCarriedOut = [&] {
    if (output.active()) requireToneStartedSoundly(engine, output.component().BufferSize());
    if (++lines == kBudgetLines) interpreter.cancel();
  };

  const bool loopBefore = controls.checked(Control::chkLoop);
  try {
    interpreter.Runscript(script);
  } catch (const ToneError&) {
    // The apply of Loop's restoring, after the run: the window's error box shows it.
  }
  // What a Cancel stopped reports its end now, as the window's event loop would handle it.
  output.finishPendingStop();
  device.deliverPending();
  threadEventLoop().processEvents(false);

  require(!host.visible, "the run ends with its dialog hidden");
  require(host.mainWindowEnabled, "the main window takes input again");
  require(controls.checked(Control::chkLoop) == loopBefore, "Loop is as it was before the run");
  require(!output.active() && !engine.values.ToneBusy, "the tone is off after the run");
  require(controls.led() == LedColour::Red, "the LED shows silence");
  fuzz::requireSamplesInRange(device.played(), output.quantization(), settings.offset);
  return 0;
}
