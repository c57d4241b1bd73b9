// The frequency slider window: shown and hidden from the Tools menu, dragged with the mouse,
// narrowed through its range fields, and laid out for its width.
#include <QAction>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>
#include <QWheelEvent>

#include "TfrmFrequencySlider.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

class FrequencySliderTest : public WindowTest {
 protected:
  FrequencySliderTest() { showWindow(); }

  TfrmFrequencySlider& slider() const { return *window->frmFrequencySlider(); }
  QSlider* track() const { return slider().freqSlider(); }
  QAction* item() const { return child<QAction>("FreqSlider1"); }
  QString fEdit() const { return field("fEdit")->text(); }

  void pressCtrlF() {
    activate(window.get());
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
  }
  void activate(QWidget* w) {
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  }
  void openSlider() {
    pressCtrlF();
    ASSERT_TRUE(slider().isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&slider()));
  }

  // Types a new text into a range field and presses Enter, as a user does.
  void confirm(QLineEdit* rangeField, const QString& text) {
    activate(&slider());
    rangeField->setFocus(Qt::MouseFocusReason);
    rangeField->selectAll();
    if (text.isEmpty()) QTest::keyClick(rangeField, Qt::Key_Delete);
    QTest::keyClicks(rangeField, text);
    QTest::keyClick(rangeField, Qt::Key_Return);
  }

  // Takes the thumb with the mouse and lets it go `dx` pixels further on.
  void drag(int dx) {
    QSlider* s = track();
    const int length = s->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, s);
    const QPoint thumb(QStyle::sliderPositionFromValue(s->minimum(), s->maximum(), s->value(),
                                                       s->width() - length) +
                           length / 2,
                       s->height() / 2);
    QTest::mousePress(s, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(s, thumb + QPoint(dx / 2, 0));
    QTest::mouseMove(s, thumb + QPoint(dx, 0));
    QTest::mouseRelease(s, Qt::LeftButton, {}, thumb + QPoint(dx, 0));
  }
};

TEST_F(FrequencySliderTest, OpensHiddenAtTheTopLeftWithTheRangeOfTheBandwidth) {
  EXPECT_FALSE(slider().isVisible());
  EXPECT_EQ(slider().windowTitle(), "Frequency Control");
  EXPECT_EQ(slider().pos(), slider().screen()->availableGeometry().topLeft());
  EXPECT_EQ(slider().size(), QSize(770, 71));
  EXPECT_EQ(slider().range(), (SliderRange{0, 3741}));  // bandwidth 11025 at a first start
  EXPECT_EQ(slider().minFreqEdit()->text(), "20");
  EXPECT_EQ(slider().maxFreqEdit()->text(), "11025");
  EXPECT_EQ(track()->tickInterval(), 100);
  EXPECT_EQ(track()->singleStep(), 1);
  EXPECT_EQ(track()->pageStep(), 2);
}

TEST_F(FrequencySliderTest, OpensOnTheSliderAndTabsFromTheMinimumToTheMaximumToTheSlider) {
  openSlider();
  EXPECT_EQ(QApplication::focusWidget(), track());
  slider().minFreqEdit()->setFocus(Qt::MouseFocusReason);
  for (QWidget* next : std::initializer_list<QWidget*>{slider().maxFreqEdit(), track()}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next);
  }
}

TEST_F(FrequencySliderTest, ResizingStretchesTheSliderWithinTheHeldHeight) {
  openSlider();
  EXPECT_EQ(track()->geometry(), QRect(4, 1, 765, 23));
  slider().resize(500, 71);
  EXPECT_EQ(track()->geometry(), QRect(4, 1, 495, 23));
  EXPECT_EQ(slider().maxFreqEdit()->geometry(), QRect(420, 27, 56, 24));
  EXPECT_EQ(slider().minFreqEdit()->geometry(), QRect(9, 27, 56, 24));
  slider().resize(1000, 300);
  EXPECT_EQ(slider().height(), 79);
  EXPECT_EQ(track()->width(), 995);
  slider().resize(1000, 10);
  EXPECT_EQ(slider().height(), 53);
}

TEST_F(FrequencySliderTest, TheMenuItemShowsAndHidesTheWindowAndItsCloseButtonClearsTheCheck) {
  window->setActivePage(SignalPage::Sweep);
  openSlider();
  EXPECT_TRUE(item()->isChecked());
  EXPECT_EQ(window->activePage(), SignalPage::Constant);
  EXPECT_EQ(slider().position(), 2699);  // 1000 Hz
  EXPECT_EQ(fEdit(), "1000");

  pressCtrlF();
  EXPECT_FALSE(item()->isChecked());
  EXPECT_FALSE(slider().isVisible());

  openSlider();
  slider().close();
  EXPECT_FALSE(item()->isChecked());
  EXPECT_FALSE(slider().isVisible());
  EXPECT_TRUE(presenter.errors.empty());
}

TEST_F(FrequencySliderTest, DraggingWritesTheFrequencyUnderTheThumbWhileTheWindowIsActive) {
  openSlider();
  drag(-40);
  EXPECT_LT(slider().position(), 2699);
  EXPECT_EQ(fEdit().toStdString(), WholeHertzText(slider().position()));
  drag(2000);
  EXPECT_EQ(slider().position(), 3741);
  EXPECT_EQ(fEdit(), "11016");
  QTest::keyClick(track(), Qt::Key_Left);
  EXPECT_EQ(fEdit(), "10991");  // one position down
  QTest::keyClick(track(), Qt::Key_PageDown);
  EXPECT_EQ(slider().position(), 3738);
  // The dragged frequency waits for the next apply.
  EXPECT_FLOAT_EQ(window->engine().values.NormInitFreq, 1000.0f / 22050);

  // The wheel turns the slider of an inactive window without a word to the main window.
  activate(window.get());
  QWheelEvent wheel(QPointF(20, 10), track()->mapToGlobal(QPointF(20, 10)), {}, {0, -120},
                    Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(track(), &wheel);
  EXPECT_LT(slider().position(), 3738);
  EXPECT_EQ(fEdit().toStdString(), WholeHertzText(3738));

  // Positions set from the main window never write back, whichever window is active.
  type("fEdit", "");
  field("fEdit")->setText("440.5");
  child<QPushButton>("Mem1")->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(slider().position(), 2343);
  EXPECT_EQ(fEdit(), "440.5");
  activate(&slider());
  window->setText(Control::fEdit, "300.5");
  window->engine().parameters.fEditExit();
  EXPECT_EQ(slider().position(), 2177);
  EXPECT_EQ(fEdit(), "300.5");
  EXPECT_FLOAT_EQ(window->engine().values.NormInitFreq, 300.5f / 22050);
}

TEST_F(FrequencySliderTest, DraggingWhileASweepPlaysHoldsTheFrequencyTheSweepReached) {
  openSlider();
  activate(window.get());
  window->setActivePage(SignalPage::Sweep);
  QTest::mouseClick(child<QPushButton>("OnButton"), Qt::LeftButton);
  ASSERT_TRUE(output.active());
  const double started = window->engine().values.PhaseIncrement;
  std::vector<uint8_t> buffer(4096);
  int32_t size = static_cast<int32_t>(buffer.size());
  window->engine().toneSwitch.AudioOut1FillBuffer(buffer.data(), size);
  const double reached = window->engine().values.PhaseIncrement;
  EXPECT_GT(reached, started);

  activate(&slider());
  drag(-100);
  EXPECT_EQ(window->activePage(), SignalPage::Constant);
  EXPECT_EQ(fEdit().toStdString(), WholeHertzText(slider().position()));
  window->engine().toneSwitch.AudioOut1FillBuffer(buffer.data(), size);
  EXPECT_EQ(window->engine().values.PhaseIncrement, reached);
  QTest::mouseClick(child<QPushButton>("OnButton"), Qt::LeftButton);
}

TEST_F(FrequencySliderTest, ChoosingTheItemWithoutAFrequencyShowsTheErrorAndNotTheWindow) {
  window->setText(Control::fEdit, "");
  window->setActivePage(SignalPage::Sweep);
  pressCtrlF();
  EXPECT_EQ(presenter.errors, std::vector<std::string>{"'' is not a valid floating point value."});
  EXPECT_TRUE(item()->isChecked());
  EXPECT_EQ(window->activePage(), SignalPage::Constant);
  EXPECT_FALSE(slider().isVisible());
}

TEST_F(FrequencySliderTest, ARangeEndThatFailsOnTheOtherFieldKeepsWhatWasChanged) {
  openSlider();
  window->setText(Control::fEdit, "");
  confirm(slider().maxFreqEdit(), "5000");  // the thumb at 1000 Hz stays where it is
  EXPECT_EQ(slider().range(), (SliderRange{0, 3398}));
  EXPECT_EQ(presenter.errors, std::vector<std::string>{"'' is not a valid floating point value."});

  presenter.errors.clear();
  slider().minFreqEdit()->setText("");
  confirm(slider().maxFreqEdit(), "4000");
  EXPECT_EQ(slider().range(), (SliderRange{0, 3398}));
  EXPECT_EQ(slider().maxFreqEdit()->text(), "4000");
  EXPECT_EQ(presenter.errors, std::vector<std::string>{"'' is not a valid floating point value."});
}

TEST_F(FrequencySliderTest, ANarrowBandwidthBelowTheMinimumLeavesTheRange) {
  openSlider();
  confirm(slider().minFreqEdit(), "10000");
  EXPECT_EQ(slider().range(), (SliderRange{3699, 3741}));
  activate(window.get());
  auto* bandwidth = child<QComboBox>("FSList");
  bandwidth->setFocus();
  QTest::keyClick(bandwidth, Qt::Key_Home);  // "5512.5"
  EXPECT_EQ(window->engine().values.SampleRate, 11025);
  EXPECT_EQ(slider().range(), (SliderRange{3699, 3741}));
  EXPECT_EQ(slider().maxFreqEdit()->text(), "5512");
}

// Entries in the range fields, confirmed with Enter, on a first start's window.
struct RangeEntry {
  int bandwidthItem;      // of FSList
  const char* frequency;  // fEdit before, set without an apply
  bool maximum;           // MaxFreqEdit, else MinFreqEdit
  const char* typed;
  const char* fieldAfter;
  SliderRange rangeAfter;
  const char* frequencyAfter;
};

class RangeFieldTest : public FrequencySliderTest,
                       public ::testing::WithParamInterface<RangeEntry> {};

TEST_P(RangeFieldTest, ConfirmingTheFieldNarrowsTheScaleOrPutsTheFieldBack) {
  const RangeEntry& e = GetParam();
  window->setItemIndex(Control::FSList, e.bandwidthItem);
  window->engine().parameters.FSListChange();
  openSlider();
  window->setText(Control::fEdit, e.frequency);
  QLineEdit* rangeField = e.maximum ? slider().maxFreqEdit() : slider().minFreqEdit();
  confirm(rangeField, e.typed);
  EXPECT_EQ(rangeField->text(), e.fieldAfter);
  EXPECT_EQ(slider().range(), e.rangeAfter);
  EXPECT_EQ(fEdit(), e.frequencyAfter);
  EXPECT_EQ(track()->value(),
            std::clamp(track()->value(), e.rangeAfter.minimum, e.rangeAfter.maximum));
  EXPECT_TRUE(presenter.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    PartEdgeCases, RangeFieldTest,
    ::testing::Values(
        // Refused at the bandwidth 22050: not a number, beyond it, and the bandwidth itself.
        RangeEntry{2, "1000", true, "abc", "22031", {0, 4042}, "1000"},
        RangeEntry{2, "1000", true, "30000", "22031", {0, 4042}, "1000"},
        RangeEntry{2, "1000", true, "22050", "22031", {0, 4042}, "1000"},
        // Only "." is a decimal point here, and the minimum must lie above zero.
        RangeEntry{1, "1000", true, "12,5", "11016", {0, 3741}, "1000"},
        RangeEntry{1, "1000", false, "12,5", "2", {0, 3741}, "1000"},
        RangeEntry{1, "1000", false, "0", "2", {0, 3741}, "1000"},
        RangeEntry{1, "1000", false, "-5", "2", {0, 3741}, "1000"},
        RangeEntry{1, "1000", false, "1e4x", "2", {0, 3741}, "1000"},
        // An empty field is left alone.
        RangeEntry{1, "1000", true, "", "", {0, 3741}, "1000"},
        // The frequency is pulled inside the new range.
        RangeEntry{1, "1000", true, "500", "500", {0, 2398}, "500"},
        RangeEntry{1, "1000", false, "1500", "1500", {2875, 3741}, "1500"},
        RangeEntry{1, "1000", true, "2000", "2000", {0, 3000}, "1000"},
        RangeEntry{1, "1000", false, " 20", " 20", {1000, 3741}, "1000"},
        // A frequency typed but not applied is beyond the end while the thumb is not.
        RangeEntry{1, "3000", true, "2000.5", "2000.5", {0, 3000}, "2000.5"},
        RangeEntry{1, "5", false, "10.25", "10.25", {710, 3741}, "10.25"},
        // A maximum below the minimum is refused by the field itself.
        RangeEntry{1, "1000", true, "15", "11016", {0, 3741}, "1000"}));

}  // namespace
}  // namespace quor::testing
