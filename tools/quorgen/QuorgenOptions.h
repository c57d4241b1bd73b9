#pragma once
#include <optional>
#include <string>
#include <vector>

namespace quor::tools {

enum class QuorgenCommand { Play, Render, Check, Devices, Help, Version };

// What the command line asks for, in the window's own terms: texts as a user types them and
// item indexes of the lists. Unset fields keep the window's first-start state.
struct QuorgenRequest {
  QuorgenCommand command = QuorgenCommand::Help;
  std::optional<std::string> freq, init, final, period, level, pulses, duty;
  bool sweep = false;
  std::optional<bool> logarithmic;
  std::optional<int> waveform;  // WaveForm item index
  bool offset = false;
  std::optional<double> loopSeconds;
  std::optional<int> bandwidth;   // FSList item index
  std::optional<int> bits;        // cboSoundQuality item index
  std::optional<int> buffers;     // Buffers item index
  std::optional<int> bufferSize;  // BufferSizeEdit item index
  std::optional<int> device;      // WaveDevice item index
  std::string output;             // render: the WAV file

  // play, render and check: the tone script; empty for one tone.
  std::string script;
  // render of a script: the seconds of output after which the run is cut off.
  std::optional<double> lengthSeconds;
};

struct ParsedCommandLine {
  bool ok = false;
  std::string error;  // when not ok: what is wrong, for the usage message
  QuorgenRequest request;
};

// `arguments` includes the program name, as argv gives it. Options may come before, between or
// after the command and the script; "--" ends the options.
ParsedCommandLine parseQuorgenArguments(const std::vector<std::string>& arguments);

// The full --help text.
std::string quorgenHelp();

}  // namespace quor::tools
