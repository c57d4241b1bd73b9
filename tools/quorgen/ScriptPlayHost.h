#pragma once
#include <functional>

#include "ScriptConsoleHost.h"

namespace quor::tools {

// The host of `quorgen play SCRIPT`: real time on the sound device. Each line's status goes
// to standard error ("Line 3: tone"). A pause line waits for Enter when `input` is a
// terminal that someone types at (`interactive`), and goes on at once otherwise, saying so.
class ScriptPlayHost : public ScriptConsoleHost {
 public:
  ScriptPlayHost(std::ostream& err, int input, bool interactive)
      : ScriptConsoleHost(err), input_(input), interactive_(interactive) {}

  void setStatus(const std::string& text) override { say(text); }
  void pause(const std::string& text) override;
  void waitWhileBusy(const std::function<bool()>& busy) override;
  void delayStep() override;
  void interrupt() override;

 private:
  int input_;
  bool interactive_;
  std::function<void()> endPause_;
};

}  // namespace quor::tools
