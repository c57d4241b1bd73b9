#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "EventLoop.h"

#include "QuorgenOptions.h"
#include "QuorgenRun.h"
#include "ScriptCommands.h"
#include "Version.h"

namespace {

int interruptPipe[2] = {-1, -1};
// The run it calls lives until the command returns; after that the loop no longer runs.
quor::EventLoop::Handle interruptWatch;

void onInterrupt(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = write(interruptPipe[1], &byte, 1);
}

// Ctrl+C is turned into an event of the main loop, where the tone can be stopped safely.
void watchInterrupts(std::function<void()> interrupt) {
  if (pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  interruptWatch =
      quor::threadEventLoop().watchReadable(interruptPipe[0], [interrupt = std::move(interrupt)] {
        char buffer[16];
        [[maybe_unused]] const ssize_t n = read(interruptPipe[0], buffer, sizeof buffer);
        interrupt();
      });
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

template <typename Run>
void watchInterruptsOf(Run& run) {
  watchInterrupts([&run] { run.interrupt(); });
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quor::tools;
  const ParsedCommandLine parsed = parseQuorgenArguments({argv, argv + argc});
  if (!parsed.ok) {
    std::cerr << "quorgen: " << parsed.error << "\n"
              << "Usage: quorgen play|render -o FILE|check|devices [options] [SCRIPT]; 'quorgen "
                 "--help' lists the options.\n";
    return QuorgenRun::kUsage;
  }
  const QuorgenRequest& request = parsed.request;
  switch (request.command) {
    case QuorgenCommand::Help:
      std::cout << quorgenHelp();
      return 0;
    case QuorgenCommand::Version:
      std::cout << quor::versionLine("quorgen");
      return 0;
    case QuorgenCommand::Devices:
      return devicesCommand(std::cout);
    case QuorgenCommand::Check:
      return checkScriptCommand(request, std::cout, std::cerr);
    case QuorgenCommand::Render:
      if (!request.script.empty()) {
        return renderScriptCommand(request, std::cerr, isatty(STDERR_FILENO) != 0,
                                   watchInterruptsOf<QuorgenScriptRun>);
      }
      return renderCommand(request, std::cout, std::cerr, watchInterruptsOf<QuorgenRun>);
    case QuorgenCommand::Play:
      if (!request.script.empty()) {
        return playScriptCommand(request, std::cerr, STDIN_FILENO, isatty(STDIN_FILENO) != 0,
                                 watchInterruptsOf<QuorgenScriptRun>);
      }
      return playCommand(request, std::cout, std::cerr, isatty(STDERR_FILENO) != 0,
                         watchInterruptsOf<QuorgenRun>);
  }
  return QuorgenRun::kUsage;
}
