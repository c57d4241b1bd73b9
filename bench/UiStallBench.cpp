// Longest stall of the user-interface thread at the moments when the output component deals
// with the sound device: a start, a stop by the toggle and the natural end of a tone. A 1 ms
// timer beats on the event loop; a stall is the longest time between two beats around the
// moment. Prints each run's figure and the worst against the target.
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "QtEventLoop.h"
#include "ToneRig.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTargetMs = 20.0;

double nowMs() {
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

class Heartbeat {
 public:
  Heartbeat() {
    beats_.reserve(1 << 20);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { beats_.push_back(nowMs()); });
    timer_.start(1);
  }
  // The longest time between two consecutive beats that overlaps [from, to].
  double longestGapMs(double from, double to) const {
    double longest = 0;
    for (size_t i = 1; i < beats_.size(); ++i)
      if (beats_[i] > from && beats_[i - 1] < to)
        longest = std::max(longest, beats_[i] - beats_[i - 1]);
    return longest;
  }

 private:
  QTimer timer_;
  std::vector<double> beats_;
};

struct Moment {
  std::string name;
  std::vector<double> stallsMs;
};

void report(const Moment& m) {
  std::printf("  %-22s", m.name.c_str());
  for (double s : m.stallsMs) std::printf(" %6.1f", s);
  const double worst = *std::max_element(m.stallsMs.begin(), m.stallsMs.end());
  std::printf("   worst %6.1f ms (target <= %.0f) %s\n", worst, kTargetMs,
              worst <= kTargetMs ? "met" : "NOT MET");
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const quor::QtEventLoop loop;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  quor::bench::ToneRig rig;
  Heartbeat heartbeat;
  Moment idle{"idle (for comparison)", {}}, start{"start", {}}, toggle{"stop by the toggle", {}},
      end{"natural end", {}};
  quor::bench::runEventsFor(200);

  for (int run = 0; run < runs; ++run) {
    double t = nowMs();
    quor::bench::runEventsFor(300);
    idle.stallsMs.push_back(heartbeat.longestGapMs(t, nowMs()));

    // A looping tone, switched on and, half a second later, off.
    rig.setTone(1, true);
    t = nowMs();
    rig.toggle();
    quor::bench::runEventsFor(500);
    start.stallsMs.push_back(heartbeat.longestGapMs(t, t + 300));
    t = nowMs();
    const int stopsBefore = rig.stops;
    rig.toggle();
    if (!rig.waitForStops(stopsBefore + 1, 5000)) {
      std::fprintf(stderr, "ui_stall: the tone did not stop\n");
      return 1;
    }
    quor::bench::runEventsFor(50);
    toggle.stallsMs.push_back(heartbeat.longestGapMs(t, nowMs()));

    // A one-second tone that ends by itself: its last buffers drain and the device closes.
    rig.setTone(1, false);
    const double begun = nowMs();
    rig.toggle();
    if (!rig.waitForStops(stopsBefore + 2, 5000)) {
      std::fprintf(stderr, "ui_stall: the tone did not end by itself\n");
      return 1;
    }
    quor::bench::runEventsFor(50);
    start.stallsMs.push_back(heartbeat.longestGapMs(begun, begun + 300));
    end.stallsMs.push_back(heartbeat.longestGapMs(begun + 500, nowMs()));
  }
  if (!rig.controls.messages().empty()) {
    std::fprintf(stderr, "ui_stall: %s\n", rig.controls.messages().back().c_str());
    return 1;
  }

  std::printf("longest stall of the user-interface thread, per run, in ms:\n");
  for (const Moment* m : {&idle, &start, &toggle, &end}) report(*m);
  return 0;
}
