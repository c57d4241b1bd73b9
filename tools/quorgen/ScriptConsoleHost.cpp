#include "ScriptConsoleHost.h"

#include "QuorgenSetup.h"

namespace quor::tools {

void ScriptConsoleHost::showMessage(const std::string& text) {
  failed_ = true;
  say(messageLines(text));
}

void ScriptConsoleHost::say(const std::string& line) {
  err_ << line << "\n" << std::flush;
}

}  // namespace quor::tools
