#include "AppSettings.h"

#include <QString>
#include <array>

#include "AppSettingsFile.h"
#include "AppSettingsValue.h"
#include "WindowLayout.h"

namespace quor {

namespace {

enum class Target { List, Menu, CheckBox };

struct Setting {
  const char* name;
  Target target;
  Control control;    // List and CheckBox
  MenuOption option;  // Menu
};

constexpr Setting kFs{"Fs", Target::List, Control::FSList, {}};
constexpr Setting kBuffers{"Buffers", Target::List, Control::Buffers, {}};
constexpr Setting kBufferSize{"BufferSize", Target::List, Control::BufferSizeEdit, {}};
constexpr Setting kSoundQ{"SoundQ", Target::List, Control::cboSoundQuality, {}};
constexpr Setting kWaveForm{"WaveForm", Target::List, Control::WaveForm, {}};
constexpr Setting kFlash{
    "Flashscreenwhenfinished", Target::Menu, {}, MenuOption::Flashscreenwhenfinished1};
constexpr Setting kScreensaver{
    "DisableScreensaver", Target::Menu, {}, MenuOption::DisableScreensaver};
constexpr Setting kSlider{"FreqSlider1", Target::Menu, {}, MenuOption::FreqSlider1};
constexpr Setting kOffset{"PositiveOffset", Target::CheckBox, Control::chkPositiveOffset, {}};

// Reading and writing take the options in different orders; both orders are kept as they are.
constexpr std::array<const Setting*, 9> kReadOrder{&kFs,          &kBuffers,  &kBufferSize,
                                                   &kSoundQ,      &kWaveForm, &kFlash,
                                                   &kScreensaver, &kSlider,   &kOffset};
constexpr std::array<const Setting*, 9> kWriteOrder{&kFs,     &kBuffers,     &kBufferSize,
                                                    &kSoundQ, &kWaveForm,    &kFlash,
                                                    &kSlider, &kScreensaver, &kOffset};

uint32_t defaultValue(const Setting& setting) {
  if (setting.target != Target::List) return 0;
  for (const auto& selection : firstStartSelections()) {
    if (selection.list == setting.control) return static_cast<uint32_t>(selection.index);
  }
  return 0;
}

void applyValue(ToneControls& controls, const Setting& setting, uint32_t value) {
  switch (setting.target) {
    case Target::List: {
      // An index beyond the list would leave it without a selection, and the bandwidth list
      // without one gives no sample rate: such a value falls back to the list's default.
      const auto count = controls.items(setting.control).size();
      const uint32_t index = value < count ? value : defaultValue(setting);
      controls.setItemIndex(setting.control, static_cast<int>(index));
      break;
    }
    case Target::Menu:
      controls.setMenuChecked(setting.option, value != 0);
      break;
    case Target::CheckBox:
      controls.setChecked(setting.control, value != 0);
      break;
  }
}

void applyDefaults(ToneControls& controls) {
  for (const Setting* setting : kReadOrder) applyValue(controls, *setting, defaultValue(*setting));
}

uint32_t currentValue(const ToneControls& controls, const Setting& setting) {
  switch (setting.target) {
    case Target::List:
      // A list without selection (-1) is stored as the 32-bit pattern of -1.
      return static_cast<uint32_t>(controls.itemIndex(setting.control));
    case Target::Menu:
      return controls.menuChecked(setting.option) ? 1 : 0;
    case Target::CheckBox:
      return controls.checked(setting.control) ? 1 : 0;
  }
  return 0;
}

bool holdsValues(const std::array<uint32_t, 9>& expected) {
  const auto settings = openApplicationSettings();
  if (settings->status() != QSettings::NoError) return false;
  for (size_t i = 0; i < kWriteOrder.size(); ++i) {
    if (storedWholeNumber(settings->value(kWriteOrder[i]->name)) != expected[i]) return false;
  }
  return true;
}

std::string storeFailure() {
  return "Quor Generator could not save its settings to \"" +
         applicationSettingsPath().toStdString() +
         "\": the folder or the file cannot be written, or the disk is full. The next start "
         "uses the settings that were saved before.";
}

}  // namespace

void RestoreApplicationSettings(ToneControls& controls) {
  const auto settings = openApplicationSettings();
  if (settings->status() != QSettings::NoError || !settings->contains(kFs.name)) {
    applyDefaults(controls);
    return;
  }
  for (const Setting* setting : kReadOrder) {
    const auto value = storedWholeNumber(settings->value(setting->name));
    if (!value) {
      applyDefaults(controls);
      return;
    }
    applyValue(controls, *setting, *value);
  }
}

StoreResult StoreApplicationSettings(const ToneControls& controls) {
  std::array<uint32_t, 9> values{};
  for (size_t i = 0; i < kWriteOrder.size(); ++i) {
    values[i] = currentValue(controls, *kWriteOrder[i]);
  }
  {
    const auto settings = openApplicationSettings();
    // A file that does not read as settings holds nothing of ours: it is replaced whole, or the
    // next start would find it unreadable again. QSettings reads a section only when asked
    // for it and clears only what it has read, so every section is read first. The format
    // error stays in the status, which then says nothing about the write; the reading back
    // below does.
    settings->allKeys();
    if (settings->status() == QSettings::FormatError) settings->clear();
    for (size_t i = 0; i < kWriteOrder.size(); ++i) {
      settings->setValue(kWriteOrder[i]->name, QVariant::fromValue(values[i]));
    }
    settings->sync();
    if (settings->status() == QSettings::AccessError) return {false, storeFailure()};
  }
  if (!holdsValues(values)) return {false, storeFailure()};
  return {};
}

std::string ApplicationSettingsLocation() {
  return applicationSettingsPath().toStdString();
}

}  // namespace quor
