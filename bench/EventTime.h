#pragma once

namespace quor::bench {

// Runs the event loop for `ms` milliseconds.
void runEventsFor(int ms);

}  // namespace quor::bench
