#pragma once
#include <QWidget>

#include "StartupSequence.h"

class QLabel;

namespace quor {

// The start splash: a borderless window, centred, shaped by its picture. Its background and
// every pure red pixel of the picture are see-through: the window's mask leaves them out,
// which needs no compositor, and its opacity fades it in and out where the platform can.
class TfrmStartSplash : public QWidget, public SplashSurface {
 public:
  TfrmStartSplash();

  void showSplash() override;
  void setOpacity(int opacity) override;
  void redraw() override;
  void hideSplash() override;

  QLabel* imgSplash() const { return imgSplash_; }

 private:
  QLabel* imgSplash_ = nullptr;
};

}  // namespace quor
