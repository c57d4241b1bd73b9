#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>
#include <string>

#include "AppSettings.h"
#include "FakeToneOutput.h"
#include "MemoryControls.h"
#include "ToneEngine.h"

namespace quor {
namespace {

// The stored form of every setting in this test: name -> text as it stands in the file.
using StoredValues = std::map<std::string, std::string>;

// Only a fresh configuration folder per test proves where the file goes and what it holds.
class AppSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    previous_ = qgetenv("XDG_CONFIG_HOME");
    hadPrevious_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home_.path().toUtf8());
  }
  void TearDown() override {
    if (hadPrevious_) {
      qputenv("XDG_CONFIG_HOME", previous_);
    } else {
      qunsetenv("XDG_CONFIG_HOME");
    }
  }

  QString folder() const { return home_.path() + "/Nerovane"; }
  QString file() const { return folder() + "/Quor Generator.conf"; }

  void writeFile(const StoredValues& values) {
    std::string text = "[General]\n";
    for (const auto& [name, value] : values) text += name + "=" + value + "\n";
    writeBytes(QByteArray::fromStdString(text));
  }

  void writeBytes(const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(folder()));
    QFile out(file());
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
  }

  std::string fileText() const {
    QFile in(file());
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll().toStdString();
  }

  QTemporaryDir home_;
  QByteArray previous_;
  bool hadPrevious_ = false;
};

// A complete set that differs from the defaults in every value.
StoredValues allChanged() {
  return {{"Fs", "4"},
          {"Buffers", "0"},
          {"BufferSize", "4"},
          {"SoundQ", "0"},
          {"WaveForm", "2"},
          {"Flashscreenwhenfinished", "1"},
          {"DisableScreensaver", "1"},
          {"FreqSlider1", "1"},
          {"PositiveOffset", "1"}};
}

void expectDefaults(const MemoryControls& c) {
  EXPECT_EQ(c.text(Control::FSList), "11025");
  EXPECT_EQ(c.text(Control::Buffers), "4");
  EXPECT_EQ(c.text(Control::BufferSizeEdit), "16384");
  EXPECT_EQ(c.text(Control::cboSoundQuality), "16 bit");
  EXPECT_EQ(c.itemIndex(Control::WaveForm), 0);
  EXPECT_FALSE(c.menuChecked(MenuOption::Flashscreenwhenfinished1));
  EXPECT_FALSE(c.menuChecked(MenuOption::DisableScreensaver));
  EXPECT_FALSE(c.menuChecked(MenuOption::FreqSlider1));
  EXPECT_FALSE(c.checked(Control::chkPositiveOffset));
}

void expectAllChanged(const MemoryControls& c) {
  EXPECT_EQ(c.text(Control::FSList), "48000");
  EXPECT_EQ(c.text(Control::Buffers), "2");
  EXPECT_EQ(c.text(Control::BufferSizeEdit), "64536");
  EXPECT_EQ(c.text(Control::cboSoundQuality), "8 bit");
  EXPECT_EQ(c.itemIndex(Control::WaveForm), 2);
  EXPECT_TRUE(c.menuChecked(MenuOption::Flashscreenwhenfinished1));
  EXPECT_TRUE(c.menuChecked(MenuOption::DisableScreensaver));
  EXPECT_TRUE(c.menuChecked(MenuOption::FreqSlider1));
  EXPECT_TRUE(c.checked(Control::chkPositiveOffset));
}

// Counts the events the controls raise and passes them on to the engine, as the window would.
class CountingSink : public ControlEventSink {
 public:
  explicit CountingSink(ControlEventSink* next = nullptr) : next_(next) {}
  void controlEvent(Control control, ControlEvent event) override {
    if (control == Control::chkPositiveOffset && event == ControlEvent::Click) ++offsetClicks;
    ++events;
    if (next_ != nullptr) next_->controlEvent(control, event);
  }
  int offsetClicks = 0;
  int events = 0;

 private:
  ControlEventSink* next_;
};

TEST_F(AppSettingsTest, FirstStartWithoutFileGivesTheDefaultsAndWritesNothing) {
  MemoryControls controls;  // its initial layout has both Tools options checked
  CountingSink sink;
  controls.setEventSink(&sink);
  RestoreApplicationSettings(controls);
  expectDefaults(controls);
  EXPECT_EQ(sink.events, 0);
  EXPECT_FALSE(QFile::exists(file()));
  EXPECT_EQ(ApplicationSettingsLocation(), file().toStdString());
}

TEST_F(AppSettingsTest, AllNineValuesSurviveCloseAndStart) {
  MemoryControls before;
  before.setItemIndex(Control::FSList, 4);
  before.setItemIndex(Control::Buffers, 0);
  before.setItemIndex(Control::BufferSizeEdit, 4);
  before.setItemIndex(Control::cboSoundQuality, 0);
  before.setItemIndex(Control::WaveForm, 2);
  before.setMenuChecked(MenuOption::Flashscreenwhenfinished1, true);
  before.setMenuChecked(MenuOption::DisableScreensaver, true);
  before.setMenuChecked(MenuOption::FreqSlider1, true);
  before.setChecked(Control::chkPositiveOffset, true);
  before.setText(Control::fEdit, "440");

  const StoreResult stored = StoreApplicationSettings(before);
  ASSERT_TRUE(stored.ok) << stored.message;

  // The file names every value with its stored number.
  const std::string text = fileText();
  for (const auto& [name, value] : allChanged()) {
    EXPECT_NE(text.find(name + "=" + value + "\n"), std::string::npos) << name << "\n" << text;
  }

  MemoryControls after;
  RestoreApplicationSettings(after);
  expectAllChanged(after);
  EXPECT_EQ(after.text(Control::fEdit), "1000");  // tone parameters are not kept
}

TEST_F(AppSettingsTest, EachOptionIsKeptUnderItsOwnName) {
  const std::pair<MenuOption, const char*> options[] = {
      {MenuOption::Flashscreenwhenfinished1, "Flashscreenwhenfinished"},
      {MenuOption::DisableScreensaver, "DisableScreensaver"},
      {MenuOption::FreqSlider1, "FreqSlider1"},
  };
  for (const auto& [option, name] : options) {
    SCOPED_TRACE(name);
    MemoryControls before;
    for (const auto& [each, eachName] : options) before.setMenuChecked(each, each == option);
    ASSERT_TRUE(StoreApplicationSettings(before).ok);
    EXPECT_NE(fileText().find(std::string(name) + "=1\n"), std::string::npos);

    MemoryControls after;
    RestoreApplicationSettings(after);
    for (const auto& [other, otherName] : options) {
      EXPECT_EQ(after.menuChecked(other), other == option) << otherName;
    }
  }
}

TEST_F(AppSettingsTest, WithoutFsEveryValueTakesItsDefault) {
  StoredValues values = allChanged();
  values.erase("Fs");
  writeFile(values);
  MemoryControls controls;
  RestoreApplicationSettings(controls);
  expectDefaults(controls);
}

TEST_F(AppSettingsTest, OneUnreadableValueGivesAllNineDefaults) {
  // "Buffers" as text, as a negative number, beyond 32 bits, as a fraction, empty.
  for (const char* bad : {"abc", "-1", "4294967296", "1.5", "", "2x"}) {
    SCOPED_TRACE(bad);
    StoredValues values = allChanged();
    values["Buffers"] = bad;
    writeFile(values);
    MemoryControls controls;
    CountingSink sink;
    controls.setEventSink(&sink);
    RestoreApplicationSettings(controls);
    expectDefaults(controls);
    EXPECT_EQ(sink.offsetClicks, 0);
    ASSERT_TRUE(QFile::remove(file()));
  }
}

TEST_F(AppSettingsTest, UnreadableLastValueUndoesTheEarlierOnes) {
  StoredValues values = allChanged();
  values.erase("PositiveOffset");
  writeFile(values);
  MemoryControls controls;
  RestoreApplicationSettings(controls);
  expectDefaults(controls);
}

// Found by fuzzing the restore: a line without "=" makes the whole file unreadable as
// settings. The start takes the defaults; the close used to report that it could not save,
// although it had, and carried the unreadable entries over into the new file.
TEST_F(AppSettingsTest, AFileThatDoesNotReadAsSettingsIsReplacedWholeAtClose) {
  writeFile(allChanged());
  MemoryControls changed;
  RestoreApplicationSettings(changed);
  writeBytes(QByteArray::fromBase64(
      "W0dlLmVyYWxdCkZzPTEKQnUKU291bmRRPTEKV2F2ZUZvcm09MApGbGFzaDIxNDc0ODM2NDhzY3JlZW53aGVuZmlu"
      "aXNnZWQ9MApEaXNhYmxlU2NyZWVuc2F2ZXI9MApGcmVxU2xpZGVyMT0xClBvc2l0aXZlT2Zmc2V0PTEK"));

  MemoryControls unreadable;
  RestoreApplicationSettings(unreadable);
  expectDefaults(unreadable);

  const StoreResult stored = StoreApplicationSettings(changed);
  EXPECT_TRUE(stored.ok) << stored.message;
  EXPECT_EQ(fileText().find("Ge.eral"), std::string::npos) << fileText();
  MemoryControls next;
  RestoreApplicationSettings(next);
  expectAllChanged(next);
}

TEST_F(AppSettingsTest, AnyNonZeroOptionReadsCheckedAndIsWrittenBackAsOne) {
  StoredValues values = allChanged();
  values["DisableScreensaver"] = "2";
  values["Flashscreenwhenfinished"] = "4294967295";
  writeFile(values);
  MemoryControls controls;
  RestoreApplicationSettings(controls);
  EXPECT_TRUE(controls.menuChecked(MenuOption::DisableScreensaver));
  EXPECT_TRUE(controls.menuChecked(MenuOption::Flashscreenwhenfinished1));

  ASSERT_TRUE(StoreApplicationSettings(controls).ok);
  const std::string text = fileText();
  EXPECT_NE(text.find("DisableScreensaver=1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Flashscreenwhenfinished=1\n"), std::string::npos) << text;
}

TEST_F(AppSettingsTest, StoredPositiveOffsetRunsTheApplyOnceAndLeavesTheMissingSliderAlone) {
  StoredValues values;
  for (const char* name : {"Fs", "Buffers", "BufferSize", "SoundQ", "WaveForm",
                           "Flashscreenwhenfinished", "DisableScreensaver"}) {
    values[name] = "0";
  }
  values["Fs"] = "2";  // 22050 Hz bandwidth
  values["FreqSlider1"] = "1";
  values["PositiveOffset"] = "1";
  writeFile(values);

  MemoryControls controls;
  testing::FakeToneOutput output;
  ToneEngine engine(controls, output);
  CountingSink sink(&engine.wiring);
  controls.setEventSink(&sink);
  RestoreApplicationSettings(controls);

  EXPECT_EQ(sink.offsetClicks, 1);
  EXPECT_TRUE(controls.menuChecked(MenuOption::FreqSlider1));
  EXPECT_TRUE(controls.checked(Control::chkPositiveOffset));
  // The apply ran with the bandwidth restored before it, and found no slider to move.
  EXPECT_TRUE(engine.values.PositiveOffsetOn);
  EXPECT_EQ(engine.values.SampleRate, 44100);
  EXPECT_FALSE(controls.sliderExists());
  EXPECT_EQ(controls.sliderPosition(), 0);
  controls.setEventSink(&engine.wiring);
}

TEST_F(AppSettingsTest, AnIndexOutsideItsListFallsBackToThatListsDefaultOnly) {
  StoredValues values = allChanged();
  values["Fs"] = "5";
  values["SoundQ"] = "4294967295";  // how a list without selection is stored
  values["WaveForm"] = "3";
  writeFile(values);

  MemoryControls controls;
  testing::FakeToneOutput output;
  ToneEngine engine(controls, output);
  RestoreApplicationSettings(controls);

  EXPECT_EQ(controls.text(Control::FSList), "11025");
  EXPECT_EQ(controls.text(Control::cboSoundQuality), "16 bit");
  EXPECT_EQ(controls.itemIndex(Control::WaveForm), 0);
  EXPECT_EQ(controls.text(Control::Buffers), "2");  // the values in range stay as stored
  EXPECT_EQ(controls.text(Control::BufferSizeEdit), "64536");
  EXPECT_TRUE(controls.checked(Control::chkPositiveOffset));
  EXPECT_EQ(engine.parameters.sampleRateFromBandwidth(), 22050);
}

TEST_F(AppSettingsTest, AListWithoutSelectionIsStoredAsAllBitsSetAndRestoredToItsDefault) {
  MemoryControls before;  // the lists of the initial layout have no selection
  ASSERT_TRUE(StoreApplicationSettings(before).ok);
  EXPECT_NE(fileText().find("Fs=4294967295\n"), std::string::npos) << fileText();

  MemoryControls after;
  RestoreApplicationSettings(after);
  EXPECT_EQ(after.text(Control::FSList), "11025");
  EXPECT_EQ(after.text(Control::Buffers), "4");
  // The options were written as the initial layout had them: both checked.
  EXPECT_TRUE(after.menuChecked(MenuOption::DisableScreensaver));
  EXPECT_TRUE(after.menuChecked(MenuOption::Flashscreenwhenfinished1));
}

TEST_F(AppSettingsTest, AFolderThatCannotBeCreatedIsReportedNotThrown) {
  // A plain file where the folder belongs defeats even a superuser.
  QFile blocker(folder());
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();

  MemoryControls controls;
  StoreResult result;
  EXPECT_NO_THROW(result = StoreApplicationSettings(controls));
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find(file().toStdString()), std::string::npos) << result.message;
  EXPECT_NE(result.message.find("could not save"), std::string::npos) << result.message;
}

TEST_F(AppSettingsTest, AFileThatIsAFolderIsReported) {
  ASSERT_TRUE(QDir().mkpath(file()));
  MemoryControls controls;
  const StoreResult result = StoreApplicationSettings(controls);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.message.empty());
}

TEST_F(AppSettingsTest, AFullDiskIsReportedAndKeepsTheSavedFile) {
  const StoredValues values = allChanged();
  writeFile(values);
  // A file size limit fails writes as a full disk does, for the superuser too.
  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  rlimit tiny = previous;
  tiny.rlim_cur = 16;
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);

  MemoryControls controls;
  const StoreResult result = StoreApplicationSettings(controls);
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(result.ok);
  const std::string text = fileText();
  for (const auto& [name, value] : values) {
    EXPECT_NE(text.find(name + "=" + value + "\n"), std::string::npos) << name << "\n" << text;
  }
}

TEST_F(AppSettingsTest, AReadOnlyFolderIsReportedAndKeepsTheSavedFile) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the superuser";
  StoredValues values = allChanged();
  writeFile(values);
  ASSERT_EQ(chmod(QFile::encodeName(file()).constData(), 0444), 0);
  ASSERT_EQ(chmod(QFile::encodeName(folder()).constData(), 0555), 0);

  MemoryControls controls;
  const StoreResult result = StoreApplicationSettings(controls);
  chmod(QFile::encodeName(folder()).constData(), 0755);
  EXPECT_FALSE(result.ok);
  // The next run reads the file as it was saved before.
  const std::string text = fileText();
  for (const auto& [name, value] : values) {
    EXPECT_NE(text.find(name + "=" + value + "\n"), std::string::npos) << name << "\n" << text;
  }
}

}  // namespace
}  // namespace quor
