// The window keeps its output settings, waveform, options and positive offset between runs,
// and nothing else; a settings file that cannot be written is said once and the close goes on.
#include <QAction>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>

#include "AppSettings.h"
#include "TfrmFrequencySlider.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

class KeptSettingsTest : public WindowTest {
 protected:
  // Closes the window as the user does and opens the program's window again.
  void restart() {
    close();
    open();
  }
  void close() {
    window->close();
    window.reset();
  }
  void open() {
    GeneratorServices services;
    services.output = &output;
    services.deviceItems = {"Default Windows Device", "Card A"};
    services.messages = &presenter;
    services.helpFolder = QUOR_HELP_SOURCE_DIR;
    window = createProgramWindows(services);
  }
  static std::filesystem::path configHome() { return std::getenv("XDG_CONFIG_HOME"); }
};

TEST_F(KeptSettingsTest, AFirstStartHasTheDefaults) {
  EXPECT_EQ(window->text(Control::FSList), "11025");
  EXPECT_EQ(window->text(Control::Buffers), "4");
  EXPECT_EQ(window->text(Control::BufferSizeEdit), "16384");
  EXPECT_EQ(window->text(Control::cboSoundQuality), "16 bit");
  EXPECT_EQ(window->itemIndex(Control::WaveForm), 0);
  for (MenuOption option : {MenuOption::FreqSlider1, MenuOption::DisableScreensaver,
                            MenuOption::Flashscreenwhenfinished1}) {
    EXPECT_FALSE(window->menuChecked(option));
  }
  EXPECT_FALSE(window->checked(Control::chkPositiveOffset));
  EXPECT_EQ(window->engine().values.SampleRate, 22050);
}

TEST_F(KeptSettingsTest, CloseAndReopenKeepsTheNineAndNothingElse) {
  window->setItemIndex(Control::FSList, 3);
  window->setItemIndex(Control::Buffers, 0);
  window->setItemIndex(Control::BufferSizeEdit, 4);
  window->setItemIndex(Control::cboSoundQuality, 0);
  window->setItemIndex(Control::WaveForm, 2);
  window->setMenuChecked(MenuOption::Flashscreenwhenfinished1, true);
  window->setMenuChecked(MenuOption::DisableScreensaver, true);
  window->setChecked(Control::chkPositiveOffset, true);
  window->setText(Control::fEdit, "440");
  window->setText(Control::Amplitude, "70");
  window->setChecked(Control::chkLoop, false);

  restart();

  EXPECT_EQ(window->text(Control::FSList), "24000");
  EXPECT_EQ(window->text(Control::Buffers), "2");
  EXPECT_EQ(window->text(Control::BufferSizeEdit), "64536");
  EXPECT_EQ(window->text(Control::cboSoundQuality), "8 bit");
  EXPECT_EQ(window->itemIndex(Control::WaveForm), 2);
  EXPECT_TRUE(window->menuChecked(MenuOption::Flashscreenwhenfinished1));
  EXPECT_TRUE(window->menuChecked(MenuOption::DisableScreensaver));
  EXPECT_FALSE(window->menuChecked(MenuOption::FreqSlider1));
  EXPECT_TRUE(window->checked(Control::chkPositiveOffset));
  EXPECT_TRUE(window->engine().values.PositiveOffsetOn);
  EXPECT_EQ(window->engine().values.SampleRate, 48000);
  EXPECT_EQ(output.quantization(), 8);
  // The tone itself starts from the window's initial values again.
  EXPECT_EQ(window->text(Control::fEdit), "1000");
  EXPECT_EQ(window->text(Control::Amplitude), "100");
  EXPECT_TRUE(window->checked(Control::chkLoop));
  EXPECT_TRUE(presenter.messages.empty());
}

TEST_F(KeptSettingsTest, AStoredSliderCheckComesBackWithTheSliderWindowHidden) {
  window->setMenuChecked(MenuOption::FreqSlider1, true);
  restart();
  QAction* item = window->findChild<QAction*>("FreqSlider1");
  TfrmFrequencySlider& slider = *window->frmFrequencySlider();
  EXPECT_TRUE(item->isChecked());
  EXPECT_FALSE(slider.isVisible());
  window->setText(Control::fEdit, "440");
  window->engine().parameters.fEditExit();
  EXPECT_EQ(slider.position(), 2342);  // it follows every apply all the same
  item->trigger();
  EXPECT_FALSE(item->isChecked());
  EXPECT_FALSE(slider.isVisible());
  item->trigger();
  EXPECT_TRUE(item->isChecked());
  EXPECT_TRUE(slider.isVisible());
}

TEST_F(KeptSettingsTest, AnUnwritableSettingsFileIsSaidOnceAndTheCloseGoesOn) {
  // A file where the settings folder should be: nothing can be written below it.
  QFile blocker(QString::fromStdString((configHome() / "Nerovane").string()));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  window->setItemIndex(Control::FSList, 4);
  window->show();
  window->close();
  EXPECT_FALSE(window->isVisible());
  ASSERT_EQ(presenter.messages.size(), 1u);
  EXPECT_NE(presenter.messages[0].find("could not save its settings"), std::string::npos)
      << presenter.messages[0];
}

TEST_F(KeptSettingsTest, ASettingsFileOfBinaryJunkGivesTheDefaultsAndAGoodFileAtClose) {
  window->setItemIndex(Control::FSList, 4);
  close();
  QByteArray junk;
  for (int i = 0; i < 512; ++i) junk.append(static_cast<char>((i * 37) % 256));
  junk.append("\n[Nerovane]\nnot a setting\n");  // a section of its own, read only when asked
  const QString file = QString::fromStdString(ApplicationSettingsLocation());
  {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(junk);
  }
  open();
  EXPECT_EQ(window->text(Control::FSList), "11025");
  EXPECT_EQ(window->text(Control::Buffers), "4");
  EXPECT_EQ(window->engine().values.SampleRate, 22050);

  window->setItemIndex(Control::Buffers, 0);
  restart();
  EXPECT_EQ(window->text(Control::Buffers), "2");
  EXPECT_EQ(window->text(Control::FSList), "11025");
  EXPECT_TRUE(presenter.messages.empty()) << presenter.messages.front();
  // Read as the next run reads it: QSettings trusts what this process has read of a path.
  QTemporaryDir copy;
  ASSERT_TRUE(QFile::copy(file, copy.filePath("next-run.conf")));
  QSettings nextRun(copy.filePath("next-run.conf"), QSettings::IniFormat);
  EXPECT_EQ(nextRun.value("Buffers").toString(), "0");
  nextRun.allKeys();
  EXPECT_EQ(nextRun.status(), QSettings::NoError);
}

}  // namespace
}  // namespace quor::testing
