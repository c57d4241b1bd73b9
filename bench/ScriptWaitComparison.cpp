#include "ScriptWaitComparison.h"

#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "EventTime.h"

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

struct ThreadCpu {
  std::string name;
  double seconds = 0;
};

// CPU seconds of each thread of this process so far, by thread id.
std::map<std::string, ThreadCpu> threadSeconds() {
  std::map<std::string, ThreadCpu> result;
  std::error_code ignored;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", ignored)) {
    ThreadCpu thread;
    std::ifstream(task.path() / "comm") >> thread.name;
    double ns = 0;
    if (std::ifstream(task.path() / "schedstat") >> ns) {
      thread.seconds = ns * 1e-9;
      result[task.path().filename().string()] = thread;
    }
  }
  return result;
}

// The threads that play the sound: the sound server's client loop of each stream and the
// device threads (the keeper, which opens, starts and closes streams, and the callbacks it
// starts, which take its name).
bool playsTheSound(const std::string& threadName) {
  return threadName == "threaded-ml" || threadName == "quor-portaudio";
}

// CPU that the threads outside the sound's, alive before and after a run, spent during it;
// the calling thread is left out: its reading of these figures is no part of the run.
double otherOwnThreadsSpent(const std::map<std::string, ThreadCpu>& before,
                            const std::map<std::string, ThreadCpu>& after) {
  const std::string caller = std::to_string(gettid());
  double spent = 0;
  for (const auto& [tid, thread] : after) {
    const auto it = before.find(tid);
    if (it != before.end() && tid != caller && !playsTheSound(thread.name))
      spent += thread.seconds - it->second.seconds;
  }
  return spent;
}

constexpr int kSettleMs = 150;

}  // namespace

Cost measure(const std::function<void()>& work) {
  const auto threadsBefore = threadSeconds();
  const double wall = seconds(CLOCK_MONOTONIC), process = seconds(CLOCK_PROCESS_CPUTIME_ID),
               thread = seconds(CLOCK_THREAD_CPUTIME_ID);
  work();
  // What the run left pending (the repaint of the controls a stop enables again, the window
  // uncovered by the dialog) is its own cost: paid here, it is not charged to the next run,
  // which may be the other way's.
  runEventsFor(kSettleMs);
  Cost cost{seconds(CLOCK_MONOTONIC) - wall, seconds(CLOCK_PROCESS_CPUTIME_ID) - process,
            seconds(CLOCK_THREAD_CPUTIME_ID) - thread, 0};
  // A thread that begins or ends within the run is one of its stream's (or, rarely, a drawing
  // helper that the sound's median then absorbs).
  const double own = cost.uiThread + otherOwnThreadsSpent(threadsBefore, threadSeconds());
  cost.sound = std::max(0.0, cost.process - own);
  return cost;
}

namespace {

struct Medians {
  double handProcess = 0, scriptProcess = 0, handThread = 0, scriptThread = 0, scriptWall = 0;
  double handSound = 0, scriptSound = 0, bothSounds = 0;
  double handOwn = 0, scriptOwn = 0;         // everything but playing the sound
  double lowestRatio = 0, highestRatio = 0;  // of the rounds' process CPU, script / by hand
};

double medianOf(const std::vector<Cost>& runs, double (*figure)(const Cost&)) {
  std::vector<double> values;
  for (const Cost& run : runs) values.push_back(figure(run));
  return median(values);
}

std::string scriptFor(const QTemporaryDir& folder, int length) {
  const std::string file = folder.filePath(QString("wait%1.qvs").arg(length)).toStdString();
  std::ofstream(file) << "tone 1000 " << length << " 0 50 100\nend\n";
  return file;
}

// False when the device could not play.
bool play(int length, int rounds, const QTemporaryDir& folder,
          const std::function<std::unique_ptr<ToneRig>(int seconds)>& makeRig, Medians& result) {
  const std::string file = scriptFor(folder, length);
  std::vector<Cost> hands, scripts;
  std::vector<double> ratios;
  // One pair of rigs for every round, each run once before the rounds: what only a window's
  // first tone or first script pays (creating the dialog's pixels, loading the code that
  // draws it) is a cost of starting the program, not of a run.
  const std::unique_ptr<ToneRig> hand = makeRig(length), script = makeRig(length);
  hand->byHand();
  script->byScript(file);
  for (int round = 0; round < rounds; ++round) {
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
    hands.push_back(h);
    scripts.push_back(s);
  }
  const auto process = [](const Cost& c) { return c.process; };
  const auto uiThread = [](const Cost& c) { return c.uiThread; };
  const auto sound = [](const Cost& c) { return c.sound; };
  const auto own = [](const Cost& c) { return c.own(); };
  result.handProcess = medianOf(hands, process);
  result.scriptProcess = medianOf(scripts, process);
  result.handThread = medianOf(hands, uiThread);
  result.scriptThread = medianOf(scripts, uiThread);
  result.scriptWall = medianOf(scripts, [](const Cost& c) { return c.wall; });
  result.handSound = medianOf(hands, sound);
  result.scriptSound = medianOf(scripts, sound);
  std::vector<Cost> both = hands;
  both.insert(both.end(), scripts.begin(), scripts.end());
  result.bothSounds = medianOf(both, sound);
  result.handOwn = medianOf(hands, own);
  result.scriptOwn = medianOf(scripts, own);
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
  // The threads that play the sound do the same work either way (the samples are computed on
  // the user-interface thread), and on a virtual machine they now and then cost several times
  // their usual CPU with the same system calls and wake-ups. Both ways are charged the median
  // of all runs for them; every other thread (the user-interface thread, the display
  // connection's reader, the drawing helpers) is each way's own.
  const double handJudged = full.bothSounds + full.handOwn;
  const double scriptJudged = full.bothSounds + full.scriptOwn;
  const double judgedRatio = handJudged > 0 ? scriptJudged / handJudged : 0;
  const double waitShare =
      100.0 * std::max(0.0, full.scriptThread - full.handThread) / full.scriptWall;
  // What each further second of the tone costs, the costs of starting and ending a run (and a
  // tone) taken out: the 1 s tone's cost from the long one's.
  const double handPerSecond = (full.handProcess - short1.handProcess) / (length - 1);
  const double scriptPerSecond = (full.scriptProcess - short1.scriptProcess) / (length - 1);
  std::printf("%s: %d s tone, median of %d:\n", title, length, rounds);
  std::printf(
      "  by hand (F5):  process CPU %.3f s (playing the sound %.3f s), "
      "user-interface thread %.3f s\n",
      full.handProcess, full.handSound, full.handThread);
  std::printf(
      "  by script:     process CPU %.3f s (playing the sound %.3f s), "
      "user-interface thread %.3f s\n",
      full.scriptProcess, full.scriptSound, full.scriptThread);
  std::printf(
      "  script / by hand, process CPU: median ratio %.2f; the rounds' own ratios lie\n"
      "    between %.2f and %.2f\n",
      ratio, full.lowestRatio, full.highestRatio);
  std::printf(
      "  each way with the median sound playing of all runs (%.3f s): by hand %.3f s, by\n"
      "    script %.3f s, ratio %.2f (target <= 1.10) %s\n",
      full.bothSounds, handJudged, scriptJudged, judgedRatio,
      judgedRatio <= 1.10 ? "met" : "NOT MET");
  std::printf("  the wait itself: %.2f %% of a core (target < 2 %%) %s\n", waitShare,
              waitShare < 2.0 ? "met" : "NOT MET");
  std::printf("  each second of tone after the first: by hand %.1f ms, by script %.1f ms;\n",
              1000 * handPerSecond, 1000 * scriptPerSecond);
  std::printf(
      "    a run's fixed cost (1 s tone, without playing the sound): script %.1f ms more\n"
      "    than by hand\n",
      1000 * (short1.scriptOwn - short1.handOwn));
  return 0;
}

}  // namespace quor::bench
