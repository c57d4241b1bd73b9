#include "ScriptCommands.h"

#include <cmath>
#include <optional>

#include "FileWaveOut.h"
#include "PortAudioWaveOut.h"
#include "QuorgenChecks.h"
#include "QuorgenRun.h"
#include "QuorgenSetup.h"
#include "ScriptCheck.h"
#include "ScriptFile.h"
#include "ScriptPlayHost.h"
#include "ScriptRenderHost.h"
#include "ToneError.h"

namespace quor::tools {

namespace {

// Renders shorter than this end before a bar would tell anyone anything.
constexpr double kSecondsWorthABar = 5;

// The script read as the check reads it; a file that cannot be read says so as a run would.
std::optional<ScriptCheck> readAndCheck(const QuorgenRequest& request, std::ostream& err) {
  try {
    return checkScript(readScriptLines(request.script), requestedBandwidth(request));
  } catch (const ToneError& e) {
    err << "quorgen: " << request.script << ": " << e.what() << "\n";
    return std::nullopt;
  }
}

audio::WAVEFORMATEX monoFormat(int32_t sampleRate, int bits) {
  audio::WAVEFORMATEX format;
  format.nChannels = 1;
  format.nSamplesPerSec = static_cast<uint32_t>(sampleRate);
  format.wBitsPerSample = static_cast<uint16_t>(bits);
  format.nBlockAlign = static_cast<uint16_t>(bits / 8);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  return format;
}

}  // namespace

int playScriptCommand(const QuorgenRequest& request, std::ostream& err, int input, bool interactive,
                      const ScriptRunHook& ready) {
  audio::PortAudioWaveOut device(devicesToStart(request));
  ScriptPlayHost host(err, input, interactive);
  QuorgenScriptRun run(request, device, host);
  if (ready) ready(run);
  if (const std::string refused = run.prepare(); !refused.empty()) {
    err << "quorgen: " << refused << "\n";
    return QuorgenRun::kUsage;
  }
  run.run();
  return run.status(err);
}

int renderScriptCommand(const QuorgenRequest& request, std::ostream& err, bool progress,
                        const ScriptRunHook& ready) {
  // Whether the script repeats is known before anything is written: the lines run in order,
  // and the first "end", "repeat" or invalid line ends the first pass.
  const std::optional<ScriptCheck> check = readAndCheck(request, err);
  if (!check) return QuorgenRun::kFailed;
  const ScriptPass& pass = check->pass;
  const bool repeats = pass.ending == ScriptPass::Ending::Repeat;
  if (repeats && !request.lengthSeconds) {
    err << "quorgen: " << request.script << " repeats (line " << pass.endingLine
        << "): render needs --length SECONDS\n";
    return QuorgenRun::kUsage;
  }
  if (repeats && !pass.sounds) {
    err << "quorgen: " << request.script << " repeats without a tone, sweep or delay: it would "
        << "never reach --length\n";
    return QuorgenRun::kFailed;
  }

  audio::FileWaveOut file(request.output);
  ScriptRenderHost host(err, file);
  QuorgenScriptRun run(request, file, host);
  if (ready) ready(run);
  if (const std::string refused = run.prepare(); !refused.empty()) {
    err << "quorgen: " << refused << "\n";
    return QuorgenRun::kUsage;
  }
  const int32_t rate = run.sampleRate();
  std::string error;
  if (!file.beginFile(monoFormat(rate, run.bitsPerSample()), error)) {
    err << "quorgen: " << error << "\n";
    return QuorgenRun::kFailed;
  }
  uint64_t limit = 0;
  if (request.lengthSeconds) {
    // As with --loop: however short, at least one sample.
    limit = static_cast<uint64_t>(std::max(1LL, std::llround(*request.lengthSeconds * rate)));
    file.setFrameLimit(limit);
  }
  const double expected = request.lengthSeconds.value_or(pass.seconds);
  std::optional<ProgressBar> bar;
  if (progress && expected > kSecondsWorthABar) bar.emplace(err, expected);
  host.begin(
      rate, limit, [&run] { run.cancel(); }, bar ? &*bar : nullptr);

  run.run();
  if (bar) bar->finish(host.secondsRendered());
  const int status = run.status(err);
  // Cut off by Ctrl+C the file is not kept, nor when a write failed; an error of the script
  // keeps what was played up to its line.
  if (status == QuorgenRun::kInterrupted) return status;
  if (!file.commit(error)) {
    err << "quorgen: " << error << "\n";
    return QuorgenRun::kFailed;
  }
  return status;
}

int checkScriptCommand(const QuorgenRequest& request, std::ostream& out, std::ostream& err) {
  const std::optional<ScriptCheck> check = readAndCheck(request, err);
  if (!check) return QuorgenRun::kFailed;
  for (const ScriptFinding& finding : check->findings)
    out << formatFinding(request.script, finding) << "\n";
  return check->hasErrors() ? QuorgenRun::kFailed : QuorgenRun::kDone;
}

}  // namespace quor::tools
