// One hour of a looping sweep played into the simulated device in virtual time. Every sample is
// compared with the plain definition of the synthesis run alongside it, and the resident memory
// is sampled each virtual minute: a long tone must neither drift nor grow.
//   usage: quor_soak_bench [SECONDS]   (3600 unless given)
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "QtEventLoop.h"
#include "QuorgenOptions.h"
#include "SampleSynthesis.h"
#include "SimulatedToneRun.h"

namespace {

using namespace quor;

const std::vector<std::string> kTone{
    "quorgen",   "play", "--sweep",       "--init", "20",          "--final", "20000",  "--log",
    "--period",  "10",   "--loop",        "3600",   "--bandwidth", "24000",   "--bits", "16",
    "--buffers", "4",    "--buffer-size", "16384"};

double residentMiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// The definition's bytes, made a buffer at a time as the ring asks for them.
class ReferenceStream {
 public:
  ReferenceStream(const WorkingValues& start, const FillInputs& inputs, int32_t bufferSize)
      : values_(start), inputs_(inputs), buffer_(static_cast<size_t>(bufferSize)) {}
  uint8_t next() {
    if (pending_.empty()) {
      int32_t size = static_cast<int32_t>(buffer_.size());
      reference::FillBuffer(values_, inputs_, buffer_.data(), size);
      pending_.assign(buffer_.begin(), buffer_.end());
    }
    const uint8_t byte = pending_.front();
    pending_.pop_front();
    return byte;
  }

 private:
  WorkingValues values_;
  FillInputs inputs_;
  std::vector<uint8_t> buffer_;
  std::deque<uint8_t> pending_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const quor::QtEventLoop loop;
  const double seconds = argc > 1 ? std::atof(argv[1]) : 3600.0;
  const tools::ParsedCommandLine parsed = tools::parseQuorgenArguments(kTone);
  if (!parsed.ok) {
    std::fprintf(stderr, "soak: %s\n", parsed.error.c_str());
    return 2;
  }

  tools::SimulatedToneRun run;
  run.setUp(parsed.request);
  auto& [device, output, controls, engine] = run;

  // The definition starts where the start does: after the apply, at counter and phase 0.
  engine.parameters.fEditExit();
  WorkingValues start = engine.values;
  start.SampleCounter = 0;
  start.Phase = 0.0;
  const FillInputs inputs{0, true, true, 16};
  const int32_t bufferSize = std::stoi(controls.text(Control::BufferSizeEdit));
  ReferenceStream expected(start, inputs, bufferSize);

  engine.toneSwitch.OnButtonClick();
  device.deliverPending();
  const int32_t rate = engine.values.SampleRate;
  const int64_t period = engine.values.SamplesPerPeriod;
  const auto total = static_cast<int64_t>(seconds * rate);
  std::set<int64_t> randomPoints;
  std::mt19937_64 random(20261209);
  while (randomPoints.size() < 1000)
    randomPoints.insert(static_cast<int64_t>(random() % static_cast<uint64_t>(total)));

  int64_t sample = 0, differences = 0, periodStarts = 0, periodStartDifferences = 0,
          randomDifferences = 0;
  double firstMinuteMiB = 0, largestMiB = 0;
  std::vector<uint8_t> played;
  const auto began = std::chrono::steady_clock::now();
  const uint32_t framesPerBuffer = static_cast<uint32_t>(bufferSize / 2);
  while (sample < total && output.active()) {
    device.advance(framesPerBuffer);
    device.deliverPending();
    device.takePlayed(played);
    for (size_t i = 0; i + 1 < played.size() && sample < total; i += 2, ++sample) {
      const bool same = played[i] == expected.next() && played[i + 1] == expected.next();
      const bool periodStart = sample % period == 0;
      periodStarts += periodStart;
      differences += !same;
      periodStartDifferences += periodStart && !same;
      randomDifferences += randomPoints.count(sample) != 0 && !same;
      if (sample % (60LL * rate) == 0 && sample > 0) {
        const double mib = residentMiB();
        if (firstMinuteMiB == 0) firstMinuteMiB = mib;
        largestMiB = std::max(largestMiB, mib);
      }
    }
  }
  const double realSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  engine.toneSwitch.stopsignal();
  device.deliverPending();
  const double lastMiB = residentMiB();

  const double playedSeconds = static_cast<double>(sample) / rate;
  std::printf(
      "soak: looping logarithmic sweep 20 Hz to 20000 Hz, period 10 s, %d samples/s, 16 bit, "
      "4 buffers of %d bytes\n",
      rate, bufferSize);
  std::printf("  virtual time  %.1f s: %lld samples, %lld periods, in %.1f s of real time\n",
              playedSeconds, static_cast<long long>(sample), static_cast<long long>(periodStarts),
              realSeconds);
  std::printf(
      "  differences from the definition: %lld of all samples, %lld at the %lld period starts, "
      "%lld at %zu random points\n",
      static_cast<long long>(differences), static_cast<long long>(periodStartDifferences),
      static_cast<long long>(periodStarts), static_cast<long long>(randomDifferences),
      randomPoints.size());
  std::printf(
      "  resident memory  %.1f MiB after the first minute, %.1f MiB at most, %.1f MiB at the "
      "end: growth %.1f MiB\n",
      firstMinuteMiB, largestMiB, lastMiB, largestMiB - firstMinuteMiB);
  const bool whole = sample == total;
  const bool kept = differences == 0 && whole && largestMiB - firstMinuteMiB < 1.0;
  std::printf("  target: every sample as defined, the whole time, growth under 1 MiB: %s\n",
              kept ? "met" : "NOT MET");
  return 0;
}
