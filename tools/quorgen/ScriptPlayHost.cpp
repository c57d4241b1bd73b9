#include "ScriptPlayHost.h"

#include <unistd.h>

#include <algorithm>

#include "EventLoop.h"
#include "EventLoopWaits.h"

namespace quor::tools {

void ScriptPlayHost::pause(const std::string& text) {
  if (!interactive_) {
    say(text + " (no terminal to press Enter at: going on)");
    return;
  }
  say(text + " (press Enter)");
  // The event loop goes on while the pause waits, so that Ctrl+C still ends the run.
  bool ended = false;
  const EventLoop::Handle typed = threadEventLoop().watchReadable(input_, [this, &ended] {
    char line[256];
    const ssize_t n = ::read(input_, line, sizeof line);
    // A terminal hands over whole lines; the end of the input goes on as well.
    if (n <= 0 || std::find(line, line + n, '\n') != line + n) ended = true;
  });
  endPause_ = [&ended] { ended = true; };
  waitForEventsWhile([&ended] { return !ended; });
  endPause_ = nullptr;
}

void ScriptPlayHost::interrupt() {
  if (endPause_) endPause_();
}

void ScriptPlayHost::waitWhileBusy(const std::function<bool()>& busy) {
  waitForEventsWhile(busy);
}

void ScriptPlayHost::delayStep() {
  sleepOneDelayStep();
}

}  // namespace quor::tools
