// Any command line for quorgen, its arguments separated by NUL bytes as the system hands them
// over. quorgen answers a usage error, or a request whose apply leaves finite working values
// and a positive sample rate; a few buffers of that tone, played into the simulated device,
// stay inside their buffers and within the sample range of their format.
#include <QCoreApplication>
#include <QStringList>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "FuzzProperty.h"
#include "QtApplication.h"
#include "QuorgenOptions.h"
#include "SimulatedToneRun.h"

namespace {

using namespace quor;
using fuzz::require;

QStringList commandLine(const uint8_t* data, size_t size) {
  QStringList arguments{"quorgen"};
  const char* text = reinterpret_cast<const char*>(data);
  size_t start = 0;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || text[i] == '\0') {
      arguments << QString::fromLocal8Bit(text + start, static_cast<qsizetype>(i - start));
      start = i + 1;
    }
  }
  return arguments;
}

void requireFiniteValues(const WorkingValues& v) {
  require(v.SampleRate > 0, "a positive sample rate");
  require(v.SamplesPerPeriod > 0, "a period of samples");
  for (float frequency : {v.NormInitFreq, v.NormFinalFreq})
    require(frequency > 0 && frequency < 0.5f, "frequencies within the bandwidth");
  for (double value :
       {v.PhaseIncrement, static_cast<double>(v.SweepStep), static_cast<double>(v.SweepFactor),
        static_cast<double>(v.AmplitudeFactor), static_cast<double>(v.DutyFraction), v.Phase})
    require(std::isfinite(value), "finite working values");
  require(v.PulsesPerSecond >= 0 && v.PulsesPerSecond <= v.SampleRate,
          "at least one sample per pulse");
}

// Lowest and highest sample of the format: 16-bit signed or 8-bit unsigned, the positive
// offset keeping the signal above its zero level.
std::pair<int, int> sampleRange(int bits, bool offset) {
  if (bits == 16) return {offset ? 1 : -32767, 32767};
  return {offset ? 128 : 1, 255};
}

void requireSamplesInRange(const std::vector<uint8_t>& bytes, int bits, bool offset) {
  const auto [lowest, highest] = sampleRange(bits, offset);
  const size_t step = bits == 16 ? 2 : 1;
  for (size_t i = 0; i + step <= bytes.size(); i += step) {
    int sample = bytes[i];
    if (bits == 16) sample = static_cast<int16_t>(bytes[i] | bytes[i + 1] << 8);
    require(sample >= lowest && sample <= highest, "samples within the format's range");
  }
}

// One more fill of a buffer between guard bytes: not one of them may change.
void requireFillStaysInside(ToneEngine& engine, int32_t size) {
  constexpr size_t kGuard = 64;
  constexpr uint8_t kPattern = 0xA5;
  std::vector<uint8_t> memory(static_cast<size_t>(size) + 2 * kGuard, kPattern);
  int32_t filled = size;
  engine.toneSwitch.AudioOut1FillBuffer(memory.data() + kGuard, filled);
  require(filled == size, "the fill keeps the buffer's size");
  for (size_t i = 0; i < kGuard; ++i) {
    require(memory[i] == kPattern && memory[memory.size() - 1 - i] == kPattern,
            "no sample is written outside the buffer");
  }
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
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::ensureQtApplication();
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
