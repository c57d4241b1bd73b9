// Any bytes as the application settings file, read through the window's restore into the
// in-memory controls. The nine controls end in states their lists can show, the apply that
// follows derives finite working values, and what a close writes back reads again as the
// same nine settings.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <memory>

#include "AppSettings.h"
#include "FakeToneOutput.h"
#include "FuzzProperty.h"
#include "MemoryControls.h"
#include "ToneEngine.h"

namespace {

using namespace quor;
using fuzz::require;

constexpr std::array kLists{Control::FSList, Control::Buffers, Control::BufferSizeEdit,
                            Control::cboSoundQuality, Control::WaveForm};
constexpr std::array kMenuOptions{MenuOption::Flashscreenwhenfinished1,
                                  MenuOption::DisableScreensaver, MenuOption::FreqSlider1};

struct NineSettings {
  std::array<int, kLists.size()> lists{};
  std::array<bool, kMenuOptions.size()> menu{};
  bool positiveOffset = false;
  bool operator==(const NineSettings&) const = default;
};

// The program's controls and engine as the window's creation leaves them.
struct Program {
  testing::FakeToneOutput output;
  MemoryControls controls;
  ToneEngine engine{controls, output};

  Program() {
    controls.setItemIndex(Control::WaveForm, 0);
    controls.setItems(Control::WaveDevice, {"Default Windows Device"});
    controls.setItemIndex(Control::WaveDevice, 0);
    RestoreApplicationSettings(controls);
    engine.parameters.cboSoundQualityChange();
    engine.values.SampleRate = engine.parameters.sampleRateFromBandwidth();
    engine.parameters.FSListChange();
  }

  NineSettings settings() const {
    NineSettings nine;
    for (size_t i = 0; i < kLists.size(); ++i) nine.lists[i] = controls.itemIndex(kLists[i]);
    for (size_t i = 0; i < kMenuOptions.size(); ++i)
      nine.menu[i] = controls.menuChecked(kMenuOptions[i]);
    nine.positiveOffset = controls.checked(Control::chkPositiveOffset);
    return nine;
  }
};

void requireShowable(const Program& program) {
  for (Control list : kLists) {
    const int index = program.controls.itemIndex(list);
    require(index >= 0 && index < static_cast<int>(program.controls.items(list).size()),
            "every list shows one of its items");
  }
  const WorkingValues& v = program.engine.values;
  require(v.SampleRate > 0, "a positive sample rate");
  require(v.SamplesPerPeriod > 0, "a period of samples");
  for (double value : {static_cast<double>(v.NormInitFreq), static_cast<double>(v.NormFinalFreq),
                       v.PhaseIncrement, static_cast<double>(v.SweepStep),
                       static_cast<double>(v.SweepFactor), static_cast<double>(v.DutyFraction)}) {
    require(std::isfinite(value), "finite working values");
  }
}

// QSettings keeps what it read of a path and trusts it while size and time stamp look the
// same, which a loop of rewrites within one millisecond defeats: every input gets its own
// folder. In memory where there is a memory file system: each write is synced to the disk.
QString freshConfigHome() {
  static const QString parent = QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath();
  static QTemporaryDir base(parent + "/quor-fuzz-settings-XXXXXX");
  static unsigned long long runs = 0;
  return base.path() + "/" + QString::number(++runs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString home = freshConfigHome();
  qputenv("XDG_CONFIG_HOME", home.toUtf8());
  QDir().mkpath(home + "/Nerovane");
  {
    QFile file(QString::fromStdString(ApplicationSettingsLocation()));
    require(file.open(QIODevice::WriteOnly), "the settings file can be written");
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }

  NineSettings restored;
  {
    Program first;
    requireShowable(first);
    restored = first.settings();
    const StoreResult stored = StoreApplicationSettings(first.controls);
    require(stored.ok, "the close writes the settings: " + stored.message);
  }
  Program second;
  requireShowable(second);
  require(second.settings() == restored, "the next start reads what the close wrote");
  QDir(home).removeRecursively();
  return 0;
}
