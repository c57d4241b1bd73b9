// Time to the first sound in the null sink's monitor: from process start for quorgen, sox's
// play and paplay, started the same way one after the other, and from the switch for the
// output component inside a running program. Prints every run, the medians and quorgen against
// sox.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "MonitorTap.h"
#include "QtEventLoop.h"
#include "ToneRig.h"

namespace {

using quor::testing::MonitorTap;
using quor::testing::steadySeconds;

struct Player {
  std::string name;
  QString program;
  QStringList arguments;
  std::vector<double> seconds;
};

double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 != 0 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The tail of the tone still has to pass the monitor; then the sink is quiet for the next one.
void letTheSinkSettle() {
  quor::bench::runEventsFor(400);
}

std::optional<double> playProcess(const MonitorTap& tap, const Player& player) {
  QProcess process;
  const double begun = steadySeconds();
  process.start(player.program, player.arguments);
  if (!process.waitForStarted(5000) || !process.waitForFinished(20000) || process.exitCode() != 0) {
    std::fprintf(stderr, "start_latency: %s failed: %s\n", player.name.c_str(),
                 process.readAllStandardError().constData());
    return std::nullopt;
  }
  letTheSinkSettle();
  return tap.firstSoundAfter(begun);
}

std::optional<double> switchComponent(const MonitorTap& tap, quor::bench::ToneRig& rig) {
  rig.setTone(1, true);
  const double begun = steadySeconds();
  rig.toggle();
  quor::bench::runEventsFor(1000);
  const int stops = rig.stops;
  rig.toggle();
  if (!rig.waitForStops(stops + 1, 5000)) return std::nullopt;
  letTheSinkSettle();
  return tap.firstSoundAfter(begun);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const quor::QtEventLoop loop;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  QTemporaryDir work;
  const QString toneFile = QDir(work.path()).filePath("tone.wav");
  if (QProcess::execute("sox", {"-D", "-n", "-r", "48000", "-b", "16", "-c", "1", toneFile, "synth",
                                "1", "sine", "1000"}) != 0) {
    std::fprintf(stderr, "start_latency: sox could not make the tone file\n");
    return 1;
  }
  MonitorTap tap;
  if (!tap.waitUntilListening(10)) {
    std::fprintf(stderr, "start_latency: parec could not listen to the sink\n");
    return 1;
  }
  quor::bench::ToneRig rig;
  letTheSinkSettle();

  // One second of 1000 Hz at full scale each.
  std::vector<Player> players = {
      {"quorgen play", QUORGEN_PATH, {"play", "--freq", "1000", "--loop", "1"}, {}},
      {"sox play", "play", {"-q", "-n", "synth", "1", "sine", "1000"}, {}},
      {"paplay", "paplay", {toneFile}, {}},
  };
  Player component{"component switch", {}, {}, {}};
  for (int run = 0; run < runs; ++run) {
    for (Player& p : players) {
      const auto s = playProcess(tap, p);
      if (!s) return 1;
      p.seconds.push_back(*s);
    }
    const auto s = switchComponent(tap, rig);
    if (!s) {
      std::fprintf(stderr, "start_latency: the component's tone was not heard\n");
      return 1;
    }
    component.seconds.push_back(*s);
  }

  std::printf(
      "time to the first sound on the monitor, in s (from process start; for the\n"
      "component from the switch in a running program):\n");
  players.push_back(component);
  for (const Player& p : players) {
    std::printf("  %-18s", p.name.c_str());
    for (double s : p.seconds) std::printf(" %6.3f", s);
    std::printf("   median %6.3f\n", median(p.seconds));
  }
  const double ours = median(players[0].seconds), sox = median(players[1].seconds);
  std::printf("  quorgen %.3f s against sox %.3f s (target: no later than sox) %s\n", ours, sox,
              ours <= sox ? "met" : "NOT MET");
  return 0;
}
