#pragma once
#include <QWidget>
#include <string>

#include "FrequencyScale.h"

class QLineEdit;
class QSlider;

namespace quor {

class TfrmGenerator;

// "Frequency Control": a tool window with a long logarithmic slider that writes the whole-hertz
// frequency under its thumb into the main window's frequency field, and two fields for the
// frequencies at its ends. Created hidden, once, after the main window; shown and hidden
// through the main window's menu item "Show &Frequency Slider".
class TfrmFrequencySlider : public QWidget {
 public:
  explicit TfrmFrequencySlider(TfrmGenerator& frmGenerator);

  // Handlers.
  void FormCreate();
  void FormResize();
  void FormClose();
  void FreqSliderChange();
  void MinFreqEditExit();
  void MaxFreqEditExit();
  // Enter in either range field confirms it by moving on to the slider.
  bool MaxFreqEditKeyPress(QObject* field, QEvent* event);

  // What the main window does with the slider. Neither writes back into the frequency field,
  // whichever window is active.
  void setPositionFromMainWindow(int position);
  void setMaximumFromMainWindow(int maximum, const std::string& maximumFrequencyText);

  int position() const;
  SliderRange range() const;
  QSlider* freqSlider() const { return FreqSlider_; }
  QLineEdit* minFreqEdit() const { return MinFreqEdit_; }
  QLineEdit* maxFreqEdit() const { return MaxFreqEdit_; }

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void confirmRangeField(ScaleEnd end);
  void setRangeEnd(ScaleEnd end, int position);
  QLineEdit* rangeField(ScaleEnd end) const;
  long double bandwidth() const;

  TfrmGenerator& frmGenerator_;
  QSlider* FreqSlider_ = nullptr;
  QLineEdit* MinFreqEdit_ = nullptr;
  QLineEdit* MaxFreqEdit_ = nullptr;
  bool movedByMainWindow_ = false;
};

}  // namespace quor
