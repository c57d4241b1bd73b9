#include "ScriptWaitComparison.h"

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <vector>

namespace quor::bench {

namespace {

double seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

Cost measure(const std::function<void()>& work) {
  const double wall = seconds(CLOCK_MONOTONIC), process = seconds(CLOCK_PROCESS_CPUTIME_ID),
               thread = seconds(CLOCK_THREAD_CPUTIME_ID);
  work();
  return {seconds(CLOCK_MONOTONIC) - wall, seconds(CLOCK_PROCESS_CPUTIME_ID) - process,
          seconds(CLOCK_THREAD_CPUTIME_ID) - thread};
}

namespace {

struct Medians {
  double handProcess = 0, scriptProcess = 0, handThread = 0, scriptThread = 0, scriptWall = 0;
  double lowestRatio = 0, highestRatio = 0;  // of the rounds' process CPU, script / by hand
};

std::string scriptFor(const QTemporaryDir& folder, int length) {
  const std::string file = folder.filePath(QString("wait%1.qvs").arg(length)).toStdString();
  std::ofstream(file) << "tone 1000 " << length << " 0 50 100\nend\n";
  return file;
}

// False when the device could not play.
bool play(int length, int rounds, const QTemporaryDir& folder,
          const std::function<std::unique_ptr<ToneRig>(int seconds)>& makeRig, Medians& result) {
  const std::string file = scriptFor(folder, length);
  std::vector<double> handProcess, scriptProcess, handThread, scriptThread, scriptWall, ratios;
  for (int round = 0; round < rounds; ++round) {
    const std::unique_ptr<ToneRig> hand = makeRig(length), script = makeRig(length);
    // Each way goes first in every other round: the sound server may treat a stream that
    // follows a quiet spell differently from one that follows another stream.
    Cost h, s;
    if (round % 2 == 0) {
      h = hand->byHand();
      s = script->byScript(file);
    } else {
      s = script->byScript(file);
      h = hand->byHand();
    }
    if (hand->failed() || script->failed()) return false;
    if (h.process > 0) ratios.push_back(s.process / h.process);
    handProcess.push_back(h.process);
    scriptProcess.push_back(s.process);
    handThread.push_back(h.uiThread);
    scriptThread.push_back(s.uiThread);
    scriptWall.push_back(s.wall);
  }
  result = {median(handProcess), median(scriptProcess), median(handThread), median(scriptThread),
            median(scriptWall)};
  if (!ratios.empty()) {
    result.lowestRatio = *std::min_element(ratios.begin(), ratios.end());
    result.highestRatio = *std::max_element(ratios.begin(), ratios.end());
  }
  return true;
}

}  // namespace

int compareScriptWaitWithHand(int argc, char** argv, const char* title,
                              const std::function<std::unique_ptr<ToneRig>(int seconds)>& makeRig) {
  const int length = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  QTemporaryDir folder;
  Medians full, short1;
  if (!play(length, rounds, folder, makeRig, full) || !play(1, rounds, folder, makeRig, short1)) {
    std::printf("  skipped: the sound device could not play\n");
    return 0;
  }
  const double ratio = full.handProcess > 0 ? full.scriptProcess / full.handProcess : 0;
  const double waitShare =
      100.0 * std::max(0.0, full.scriptThread - full.handThread) / full.scriptWall;
  // What each further second of the tone costs, the costs of starting and ending a run (and a
  // tone) taken out: the 1 s tone's cost from the long one's.
  const double handPerSecond = (full.handProcess - short1.handProcess) / (length - 1);
  const double scriptPerSecond = (full.scriptProcess - short1.scriptProcess) / (length - 1);
  std::printf("%s: %d s tone, median of %d:\n", title, length, rounds);
  std::printf("  by hand (F5):  process CPU %.3f s, user-interface thread %.3f s\n",
              full.handProcess, full.handThread);
  std::printf("  by script:     process CPU %.3f s, user-interface thread %.3f s\n",
              full.scriptProcess, full.scriptThread);
  std::printf("  script / by hand, process CPU: ratio %.2f (target <= 1.10) %s\n", ratio,
              ratio <= 1.10 ? "met" : "NOT MET");
  std::printf("    the rounds' own ratios lie between %.2f and %.2f\n", full.lowestRatio,
              full.highestRatio);
  std::printf("  the wait itself: %.2f %% of a core (target < 2 %%) %s\n", waitShare,
              waitShare < 2.0 ? "met" : "NOT MET");
  std::printf("  each second of tone after the first: by hand %.1f ms, by script %.1f ms;\n",
              1000 * handPerSecond, 1000 * scriptPerSecond);
  std::printf("    a run's fixed cost (1 s tone): script %.1f ms more than by hand\n",
              1000 * (short1.scriptProcess - short1.handProcess));
  return 0;
}

}  // namespace quor::bench
