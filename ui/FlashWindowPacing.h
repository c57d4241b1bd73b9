#pragma once
#include "FlashWindowSequence.h"

namespace quor {

// The program's pacing: the application's event loop handles the pending messages, and a wait
// sleeps in short steps with a message pass after each, so that input and the audio
// notifications are still handled during a flash.
class EventLoopPacing : public FlashPacing {
 public:
  void processMessages() override;
  void wait(int milliseconds) override;

  static constexpr int kStepMs = 10;
};

}  // namespace quor
