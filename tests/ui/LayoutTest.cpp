#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>

#include "UpDown.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

class LayoutTest : public WindowTest {};

TEST_F(LayoutTest, TheWindowHasAFixedClientAreaAndNoMaximiseButton) {
  showWindow();
  EXPECT_EQ(window->centralWidget()->size(), QSize(652, 373));
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->font().pixelSize(), 11);
  // The layout's captions fit only the condensed face (scripts/setup.sh installs it).
  EXPECT_EQ(QFontInfo(window->font()).family(), "DejaVu Sans Condensed");
}

TEST_F(LayoutTest, TheWindowStartsCentredOnTheScreen) {
  showWindow();
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_LE(std::abs(window->geometry().center().x() - screen.center().x()), 2);
}

TEST_F(LayoutTest, TheCaptionIsTheProductNameUntilTheFirstActivation) {
  EXPECT_EQ(window->windowTitle(), "Quor Generator");
}

TEST_F(LayoutTest, ControlsHaveTheirPlacesTextsAndHints) {
  const struct {
    const char* name;
    QRect place;
    const char* text;
    const char* hint;
  } controls[] = {
      {"OnButton", {534, 32, 75, 24}, "ON/OFF", "ON/OFF Switch"},
      {"Button1", {530, 87, 18, 17}, "?", ""},
      {"btnFlash", {376, 511, 60, 20}, "btnFlash", ""},
      {"Mem1", {24, 19, 90, 25}, "Memory 1", nullptr},
      {"Mem2", {123, 19, 90, 25}, "Memory 2", nullptr},
      {"Memory3", {226, 19, 90, 25}, "Memory 3", nullptr},
      {"Memory4", {326, 19, 90, 25}, "Memory 4", nullptr},
      {"GroupBox1", {16, 8, 445, 58}, " Presets ", ""},
      {"GroupBox4", {8, 87, 282, 266}, " Signal Parameters ", ""},
      {"GroupBox3", {296, 88, 126, 127}, "        Pulsed Signal", ""},
      {"GroupBox2", {428, 88, 213, 257}, "Output Settings", "Settings for slow/fast computers."},
      {"SignalType", {7, 16, 260, 110}, nullptr, ""},
      {"fEdit", {56, 24, 61, 24}, "1000", "Set the Signal Frequency here"},
      {"fInit", {13, 21, 49, 24}, "100", "Set the Sweep Start Frequency here"},
      {"fFinal", {126, 21, 49, 24}, "10000", ""},
      {"Logarithmic",
       {12, 57, 157, 19},
       "Logarithmic Sweep",
       "Increases the signal frequency logarithmically with time rather than linearly."},
      {"WaveForm", {8, 147, 121, 22}, nullptr, "Choose the Waveform of the Signal here"},
      {"Amplitude",
       {8, 193, 47, 24},
       "100",
       "Sets the output level of the generated Signal, 100 is maximum, 0 is minimum."},
      {"Duration", {86, 193, 38, 24}, "3", "Tone Duration"},
      {"chkLoop", {176, 195, 91, 20}, "Loop", ""},
      {"chkPositiveOffset", {11, 226, 142, 15}, "Positive offset", ""},
      {"PulsedOn", {8, 1, 17, 14}, "", ""},
      {"Pulses",
       {11, 35, 37, 24},
       "0",
       "Set the pulses per second you want here. Zero equals no pulses, i.e. continuous "
       "signal."},
      {"DutyCycle",
       {11, 89, 39, 24},
       "50",
       "The Duty Cycle is the ratio between signal and silence in a pulse."},
      {"WaveDevice",
       {8, 37, 173, 24},
       nullptr,
       "If you have more than one sound card, select your output device here"},
      {"FSList",
       {8, 79, 109, 24},
       nullptr,
       "Decrease this value if you have problems getting a smooth tone output. Decrease for "
       "better signal quality."},
      {"cboSoundQuality", {8, 124, 69, 24}, nullptr, ""},
      {"BufferSizeEdit",
       {8, 169, 84, 24},
       nullptr,
       "Increase this value if you have problems getting a smooth tone output. Decrease for "
       "faster parameter changes."},
      {"Buffers",
       {8, 215, 54, 24},
       nullptr,
       "Increase this value if you have problems getting a smooth tone output. Decrease for "
       "faster parameter changes."},
      {"Image1", {121, 192, 42, 40}, nullptr, ""},
  };
  for (const auto& c : controls) {
    QWidget* w = child<QWidget>(c.name);
    ASSERT_NE(w, nullptr) << c.name;
    EXPECT_EQ(w->geometry(), c.place) << c.name;
    if (c.hint != nullptr) {
      EXPECT_EQ(w->toolTip(), c.hint) << c.name;
    }
    if (c.text == nullptr) continue;
    QString text;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
    if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
    EXPECT_EQ(text, c.text) << c.name;
  }
  EXPECT_EQ(child<QPushButton>("OnButton")->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(child<QPushButton>("OnButton")->isDefault());
  // The pulsed check box sits in its group's caption line; the other check boxes start as laid out.
  EXPECT_EQ(child<QCheckBox>("PulsedOn")->parent()->objectName(), "GroupBox3");
  EXPECT_TRUE(child<QCheckBox>("chkLoop")->isChecked());
  EXPECT_TRUE(child<QCheckBox>("Logarithmic")->isChecked());
  EXPECT_FALSE(child<QCheckBox>("PulsedOn")->isChecked());
}

TEST_F(LayoutTest, TheSignalTypePagesAreConstantAndSweep) {
  auto* pages = child<QTabWidget>("SignalType");
  ASSERT_EQ(pages->count(), 2);
  EXPECT_EQ(pages->tabText(0), "Constant Frequency");
  EXPECT_EQ(pages->tabText(1), "Frequency Sweep");
  EXPECT_EQ(pages->widget(0)->objectName(), "Constant");
  EXPECT_EQ(pages->widget(1)->objectName(), "Sweep");
  EXPECT_EQ(pages->currentIndex(), 0);
  EXPECT_EQ(child<QLineEdit>("fEdit")->parent(), pages->widget(0));
  EXPECT_EQ(child<QLineEdit>("fInit")->parent(), pages->widget(1));
}

TEST_F(LayoutTest, SpinsHaveTheirRangesStepsAndStartPositions) {
  const struct {
    const char* name;
    int minimum, maximum, step, position;
  } spins[] = {{"UpDown2", 1, 22050, 100, 1000},   {"UpDown6", 1, 22050, 100, 100},
               {"UpDown7", 1, 22050, 100, 10000},  {"UpDown1", 0, 100, 1, 100},
               {"UpDown5", 1, 120, 1, 3},          {"PulsesUpDown", 0, 120, 1, 0},
               {"DutyCycleUpDown", 1, 100, 10, 50}};
  for (const auto& s : spins) {
    const UpDown::Range& r = child<UpDown>(s.name)->range();
    EXPECT_EQ(r.minimum, s.minimum) << s.name;
    EXPECT_EQ(r.maximum, s.maximum) << s.name;
    EXPECT_EQ(r.step, s.step) << s.name;
    EXPECT_EQ(r.position, s.position) << s.name;
  }
  EXPECT_EQ(child<UpDown>("UpDown1")->toolTip(), "Change the Amplitude by 1dB");
  EXPECT_EQ(child<UpDown>("UpDown5")->toolTip(), "Change the Tone Duration in 1 Second Steps");
  EXPECT_FALSE(child<UpDown>("PulsesUpDown")->isEnabled());
  EXPECT_FALSE(child<QLineEdit>("Pulses")->isEnabled());
}

TEST_F(LayoutTest, ListsHoldTheirItemsAndTakeNoTypedText) {
  const struct {
    const char* name;
    QStringList items;
  } lists[] = {{"FSList", {"5512.5", "11025", "22050", "24000", "48000"}},
               {"cboSoundQuality", {"8 bit", "16 bit"}},
               {"BufferSizeEdit", {"4096", "8192", "16384", "32768", "64536"}},
               {"Buffers", {"2", "3", "4"}}};
  for (const auto& l : lists) {
    auto* box = child<QComboBox>(l.name);
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    EXPECT_EQ(items, l.items) << l.name;
    EXPECT_FALSE(box->isEditable()) << l.name;
  }
}

TEST_F(LayoutTest, TheMenuHasItsCaptionsShortcutsAndCheckItems) {
  const struct {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    bool enabled;
    bool checkable;
  } items[] = {
      {"LoadSweepSettings1", "&Load Tone Settings", QKeySequence("Ctrl+L"), true, false},
      {"SaveSweepSettingsAs1", "&Save Tone Settings As...", QKeySequence("Ctrl+S"), true, false},
      {"RunScript1", "&Run Tone Script", QKeySequence("Ctrl+R"), true, false},
      {"OpenScriptEditor1", "Open Script &Editor", QKeySequence("Ctrl+E"), true, false},
      {"Exit1", "&Exit", QKeySequence("Ctrl+X"), true, false},
      {"FreqSlider1", "Show &Frequency Slider", QKeySequence("Ctrl+F"), true, true},
      {"DisableScreensaver", "Disable Screensaver when active", {}, true, true},
      {"Flashscreenwhenfinished1", "Flash screen when finished", {}, true, true},
      {"OnOff1", "On/Off", QKeySequence("F5"), true, false},
      {"Help1", "&Main Help", {}, true, false},
      {"About2", "&About this program...", {}, true, false},
  };
  for (const auto& i : items) {
    auto* action = window->findChild<QAction*>(i.name);
    ASSERT_NE(action, nullptr) << i.name;
    EXPECT_EQ(action->text(), i.caption) << i.name;
    EXPECT_EQ(action->shortcut(), i.shortcut) << i.name;
    EXPECT_EQ(action->isEnabled(), i.enabled) << i.name;
    EXPECT_EQ(action->isCheckable(), i.checkable) << i.name;
  }
  QStringList menus;
  for (QAction* menu : window->menuBar()->actions()) menus << menu->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Tools", "&Help"}));
}

TEST_F(LayoutTest, EachCheckItemInvertsOnlyItsOwnMarkWhenChosen) {
  const struct {
    const char* name;
    MenuOption option, other;
  } items[] = {
      {"Flashscreenwhenfinished1", MenuOption::Flashscreenwhenfinished1,
       MenuOption::DisableScreensaver},
      {"DisableScreensaver", MenuOption::DisableScreensaver, MenuOption::Flashscreenwhenfinished1},
  };
  for (const auto& i : items) {
    const bool before = window->menuChecked(i.option);
    const bool otherBefore = window->menuChecked(i.other);
    window->findChild<QAction*>(i.name)->trigger();
    EXPECT_NE(window->menuChecked(i.option), before) << i.name;
    EXPECT_EQ(window->menuChecked(i.other), otherBefore) << i.name;
  }
}

TEST_F(LayoutTest, OnButtonIsTheActiveControlAtStart) {
  showWindow();
  EXPECT_EQ(QApplication::focusWidget(), child<QWidget>("OnButton"));
}

TEST_F(LayoutTest, SavesAScreenshotOfBothPages) {
  showWindow();
  ASSERT_TRUE(window->grab().save(QDir::current().filePath("main-window.png")));
  window->setActivePage(SignalPage::Sweep);
  ASSERT_TRUE(window->grab().save(QDir::current().filePath("main-window-sweep.png")));
}

// Captions must fit: every label and check box shows its whole text at the window's font.
TEST_F(LayoutTest, NoCaptionIsClipped) {
  showWindow();
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (label->text().isEmpty()) continue;
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
        << label->text().toStdString();
  }
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (button->text().isEmpty() || !button->isVisibleTo(window.get())) continue;
    const int needed = qobject_cast<QCheckBox*>(button) != nullptr
                           ? button->sizeHint().width()
                           : button->fontMetrics().horizontalAdvance(button->text()) + 6;
    EXPECT_GE(button->width(), needed) << button->objectName().toStdString();
  }
}

}  // namespace
}  // namespace quor::testing
