#pragma once
#include <functional>

namespace quor {

// The waits of a script host on its thread's event loop (the window's, the command-line
// player's).

// Handles everything pending once, then sleeps in the event loop until the next event arrives
// and handles it, for as long as busy() is true. Events are handled in the same order, and the
// wait ends at the same moment, as with a loop that asks again and again without sleeping,
// but an idle wait leaves the core idle.
void waitForEventsWhile(const std::function<bool()>& busy);

// One step of a delay line: sleeps 100 ms, then handles everything pending (Next and Cancel
// among it).
void sleepOneDelayStep();

}  // namespace quor
