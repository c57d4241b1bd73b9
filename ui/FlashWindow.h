#pragma once
#include <QWidget>

#include "FlashWindowSequence.h"

namespace quor {

// The flash window: borderless, black, above the other windows, without controls. Created
// hidden once at start-up and shown only while a flash runs.
class TfrmFlash : public QWidget, public FlashSurface {
 public:
  explicit TfrmFlash(QWidget* parent = nullptr);

  void showSurface() override;
  void hideSurface() override;
  void place(int left, int top, int width, int height) override;
  void setBackground(uint32_t rgb) override;
  FlashScreenSize screenSize() const override;  // of the primary screen

  uint32_t background() const;
};

}  // namespace quor
