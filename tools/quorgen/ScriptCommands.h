#pragma once
#include <functional>
#include <ostream>

#include "QuorgenOptions.h"
#include "QuorgenScriptRun.h"

namespace quor::tools {

// The commands for a tone script, as main runs them. `ready` sees the run before it starts
// (to hook up Ctrl+C). Each answers the process exit status.
using ScriptRunHook = std::function<void(QuorgenScriptRun&)>;

// Plays the script on the sound device. `input` is where Enter is read for a pause, when
// `interactive`.
int playScriptCommand(const QuorgenRequest& request, std::ostream& err, int input, bool interactive,
                      const ScriptRunHook& ready = {});
// Renders the script into the request's WAV file; `progress`: a bar on `err` for long renders.
int renderScriptCommand(const QuorgenRequest& request, std::ostream& err, bool progress,
                        const ScriptRunHook& ready = {});
// Reports the script's findings on `out` as FILE:LINE: error|warning: message.
int checkScriptCommand(const QuorgenRequest& request, std::ostream& out, std::ostream& err);

}  // namespace quor::tools
