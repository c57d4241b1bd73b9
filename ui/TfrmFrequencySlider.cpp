#include "TfrmFrequencySlider.h"

#include <QApplication>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSlider>
#include <optional>

#include "Conversions.h"
#include "FieldEvents.h"
#include "ProgramIcon.h"
#include "TfrmGenerator.h"
#include "WindowFont.h"

namespace quor {

namespace {

// The outer height is held between 79 and 105 pixels on a frame of 26 (a tool window's
// caption and sizing borders), which leaves the client area these heights.
constexpr int kMinimumClientHeight = 53;
constexpr int kMaximumClientHeight = 79;
// Narrower, the maximum field would cover the minimum field.
constexpr int kMinimumClientWidth = 150;

QFont fontOfPixels(int pixels) {
  QFont font = windowFont();
  font.setPixelSize(pixels);
  return font;
}

ScaleEnd opposite(ScaleEnd end) {
  return end == ScaleEnd::Maximum ? ScaleEnd::Minimum : ScaleEnd::Maximum;
}

}  // namespace

TfrmFrequencySlider::TfrmFrequencySlider(TfrmGenerator& frmGenerator)
    : QWidget(nullptr, Qt::Tool), frmGenerator_(frmGenerator) {
  setObjectName("frmFrequencySlider");
  setWindowTitle("Frequency Control");
  setWindowIcon(programIcon());
  // Closing the main window ends the program even while this one is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  setFont(fontOfPixels(10));

  FreqSlider_ = new QSlider(Qt::Horizontal, this);
  FreqSlider_->setObjectName("FreqSlider");
  FreqSlider_->setGeometry(4, 1, 571, 23);
  FreqSlider_->setTickPosition(QSlider::TicksBelow);
  FreqSlider_->setTickInterval(100);
  FreqSlider_->setSingleStep(1);
  FreqSlider_->setPageStep(2);
  FreqSlider_->setMinimum(0);
  connect(FreqSlider_, &QSlider::valueChanged, this,
          [this] { frmGenerator_.guarded([this] { FreqSliderChange(); }); });

  MinFreqEdit_ = new QLineEdit("20", this);
  MinFreqEdit_->setObjectName("MinFreqEdit");
  MinFreqEdit_->setGeometry(9, 27, 56, 24);
  MaxFreqEdit_ = new QLineEdit("11025", this);
  MaxFreqEdit_->setObjectName("MaxFreqEdit");
  MaxFreqEdit_->setGeometry(519, 27, 56, 24);
  for (QLineEdit* field : {MinFreqEdit_, MaxFreqEdit_}) {
    field->setFont(fontOfPixels(13));
    field->installEventFilter(this);
  }
  setTabOrder(MinFreqEdit_, MaxFreqEdit_);
  setTabOrder(MaxFreqEdit_, FreqSlider_);
  // The window opens on the slider, so that the keys move it at once and the first click on
  // it does not confirm a range field the user has not touched.
  FreqSlider_->setFocus();

  setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
  setMaximumHeight(kMaximumClientHeight);
  resize(770, 71);
  move(screen()->availableGeometry().topLeft());
}

void TfrmFrequencySlider::FormCreate() {
  frmGenerator_.engine().parameters.FSListChange();
}

void TfrmFrequencySlider::FormResize() {
  FreqSlider_->resize(width() - 5, FreqSlider_->height());
  MaxFreqEdit_->move(width() - 80, MaxFreqEdit_->y());
}

void TfrmFrequencySlider::FormClose() {
  frmGenerator_.setMenuChecked(MenuOption::FreqSlider1, false);
}

void TfrmFrequencySlider::FreqSliderChange() {
  // Only the user's own moves write: those of the main window would round its frequency.
  if (movedByMainWindow_ || QApplication::activeWindow() != this) return;
  frmGenerator_.setText(Control::fEdit, WholeHertzText(FreqSlider_->value()));
  frmGenerator_.setActivePage(SignalPage::Constant);
}

void TfrmFrequencySlider::MinFreqEditExit() {
  confirmRangeField(ScaleEnd::Minimum);
}

void TfrmFrequencySlider::MaxFreqEditExit() {
  confirmRangeField(ScaleEnd::Maximum);
}

bool TfrmFrequencySlider::MaxFreqEditKeyPress(QObject*, QEvent* event) {
  if (!isEnterKey(event)) return false;
  FreqSlider_->setFocus(Qt::TabFocusReason);
  return true;
}

// The maximum must lie below the bandwidth and above the minimum field, the minimum above zero
// and below the maximum field; an entry that does not is put back to the range's end.
void TfrmFrequencySlider::confirmRangeField(ScaleEnd end) {
  QLineEdit* field = rangeField(end);
  const std::string text = field->text().toStdString();
  if (text.empty()) return;
  const auto reset = [&] {
    const SliderRange r = range();
    field->setText(
        QString::fromStdString(WholeHertzText(end == ScaleEnd::Maximum ? r.maximum : r.minimum)));
  };
  const std::optional<float> v = PlainDecimalToFloat(text);
  const long double outerLimit = end == ScaleEnd::Maximum ? bandwidth() : 0;
  if (!v || !Beyond(end, outerLimit, *v)) return reset();
  const float otherEnd = IntlStrToFloat(rangeField(opposite(end))->text().toStdString());
  if (!Beyond(end, *v, otherEnd)) return reset();

  setRangeEnd(end, SliderPosition(*v));
  const float frequency = IntlStrToFloat(frmGenerator_.text(Control::fEdit));
  if (Beyond(end, frequency, *v)) frmGenerator_.setText(Control::fEdit, GeneralFormat(*v));
}

void TfrmFrequencySlider::setRangeEnd(ScaleEnd end, int position) {
  const SliderRange r = WithEnd(range(), end, position);
  // A thumb outside the new range moves to its nearer end, which is a move like any other.
  FreqSlider_->setRange(r.minimum, r.maximum);
}

void TfrmFrequencySlider::setPositionFromMainWindow(int position) {
  const QScopedValueRollback moving(movedByMainWindow_, true);
  FreqSlider_->setValue(position);
}

void TfrmFrequencySlider::setMaximumFromMainWindow(int maximum,
                                                   const std::string& maximumFrequencyText) {
  const QScopedValueRollback moving(movedByMainWindow_, true);
  setRangeEnd(ScaleEnd::Maximum, maximum);
  MaxFreqEdit_->setText(QString::fromStdString(maximumFrequencyText));
}

int TfrmFrequencySlider::position() const {
  return FreqSlider_->value();
}

SliderRange TfrmFrequencySlider::range() const {
  return {FreqSlider_->minimum(), FreqSlider_->maximum()};
}

QLineEdit* TfrmFrequencySlider::rangeField(ScaleEnd end) const {
  return end == ScaleEnd::Maximum ? MaxFreqEdit_ : MinFreqEdit_;
}

long double TfrmFrequencySlider::bandwidth() const {
  return static_cast<long double>(frmGenerator_.engine().values.SampleRate) / 2;
}

// ---- events ----

bool TfrmFrequencySlider::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormResize();
  return QWidget::event(event);
}

void TfrmFrequencySlider::resizeEvent(QResizeEvent* event) {
  FormResize();
  QWidget::resizeEvent(event);
}

void TfrmFrequencySlider::closeEvent(QCloseEvent* event) {
  frmGenerator_.guarded([this] { FormClose(); });
  QWidget::closeEvent(event);
}

bool TfrmFrequencySlider::eventFilter(QObject* watched, QEvent* event) {
  for (ScaleEnd end : {ScaleEnd::Minimum, ScaleEnd::Maximum}) {
    if (watched != rangeField(end)) continue;
    if (MaxFreqEditKeyPress(watched, event)) return true;
    if (leavesForAnotherControl(event)) {
      frmGenerator_.guarded(
          [this, end] { end == ScaleEnd::Maximum ? MaxFreqEditExit() : MinFreqEditExit(); });
    }
    return false;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace quor
