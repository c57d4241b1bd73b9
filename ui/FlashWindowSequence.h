#pragma once
#include <cstdint>

#include "ToneControls.h"

namespace quor {

inline constexpr uint32_t kFlashBlack = 0x000000;
inline constexpr uint32_t kFlashWhite = 0xFFFFFF;
inline constexpr int kFlashCycles = 3;
inline constexpr int kFlashStepMs = 200;

struct FlashScreenSize {
  int width = 0;
  int height = 0;
};

// The window that covers the screen during a flash.
class FlashSurface {
 public:
  virtual ~FlashSurface() = default;
  virtual void showSurface() = 0;
  virtual void hideSurface() = 0;
  virtual void place(int left, int top, int width, int height) = 0;
  virtual void setBackground(uint32_t rgb) = 0;
  virtual FlashScreenSize screenSize() const = 0;
};

// How the flash lets the rest of the program run: handling the pending messages, and waiting,
// which in the program also keeps handling them.
class FlashPacing {
 public:
  virtual ~FlashPacing() = default;
  virtual void processMessages() = 0;
  virtual void wait(int milliseconds) = 0;
};

// One flash: black and white three times, 200 ms each, then the flash window hides again.
void runScreenFlash(FlashSurface& surface, FlashPacing& pacing);

// The click on "Flash screen when finished": inverts its check mark, nothing else.
void Flashscreenwhenfinished1Click(ToneControls& controls);

}  // namespace quor
