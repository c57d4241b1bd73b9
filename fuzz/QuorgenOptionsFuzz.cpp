// Any command line for quorgen, its arguments separated by NUL bytes as the system hands them
// over. quorgen answers a usage error, or a request whose apply leaves finite working values
// and a positive sample rate; a few buffers of that tone, played into the simulated device,
// stay inside their buffers and within the sample range of their format.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzProperty.h"
#include "QuorgenOptions.h"
#include "SimulatedToneRun.h"
#include "ToneProperties.h"

namespace {

using namespace quor;
using fuzz::require;
using fuzz::requireFillStaysInside;
using fuzz::requireFiniteValues;
using fuzz::requireSamplesInRange;

std::vector<std::string> commandLine(const uint8_t* data, size_t size) {
  std::vector<std::string> arguments{"quorgen"};
  const char* text = reinterpret_cast<const char*>(data);
  size_t start = 0;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || text[i] == '\0') {
      arguments.emplace_back(text + start, i - start);
      start = i + 1;
    }
  }
  return arguments;
}

void playAFewBuffers(const tools::QuorgenRequest& request) {
  tools::SimulatedToneRun run;
  auto& [device, output, controls, engine] = run;
  // quorgen's own usage error: the device list has no such item.
  if (request.device &&
      *request.device >= static_cast<int>(controls.items(Control::WaveDevice).size()))
    return;
  run.setUp(request);
  engine.toneSwitch.OnButtonClick();
  requireFiniteValues(engine.values);
  if (!controls.messages().empty()) {
    // A tone shorter than one buffer cannot start, in the window as here.
    require(controls.messages().back().ends_with("There must be at least one filled buffer"),
            "the only refusal is a tone too short: " + controls.messages().back());
    return;
  }
  audio::TAudioOut& component = output.component();
  const int bits = output.quantization();
  const uint32_t frames = static_cast<uint32_t>(component.BufferSize() / (bits == 16 ? 2 : 1));
  for (int i = 0; i < 3 && output.active(); ++i) {
    device.advance(frames);
    device.deliverPending();
  }
  requireSamplesInRange(device.played(), bits, request.offset);
  requireFillStaysInside(engine, component.BufferSize());
  requireFiniteValues(engine.values);
  engine.toneSwitch.stopsignal();
  device.deliverPending();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const tools::ParsedCommandLine parsed = tools::parseQuorgenArguments(commandLine(data, size));
  if (!parsed.ok) {
    require(!parsed.error.empty(), "a usage error says what is wrong");
    return 0;
  }
  const tools::QuorgenCommand command = parsed.request.command;
  if (command == tools::QuorgenCommand::Play || command == tools::QuorgenCommand::Render)
    playAFewBuffers(parsed.request);
  return 0;
}
