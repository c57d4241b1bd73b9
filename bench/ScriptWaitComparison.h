#pragma once
#include <functional>
#include <memory>
#include <string>

namespace quor::bench {

// What one piece of work cost: wall-clock time, the CPU of the whole process (the device
// threads included), the CPU of the calling thread, the user-interface thread, and the CPU of
// the threads that play the sound: the device's and the sound server client's.
struct Cost {
  double wall = 0, process = 0, uiThread = 0, sound = 0;
  double own() const { return process - sound; }  // everything but playing the sound
};
Cost measure(const std::function<void()>& work);

// One tone of a given length on the real sound device, switched on by hand or played by a
// script, each waited for to its end.
class ToneRig {
 public:
  virtual ~ToneRig() = default;
  virtual Cost byHand() = 0;
  virtual Cost byScript(const std::string& scriptFile) = 0;
  virtual bool failed() const = 0;  // the device could not play
};

// quor_*_script_wait_bench [SECONDS [ROUNDS]]: one pair of rigs, each run once first, plays the
// tone by hand and by a one-tone script in every round, each first in every other round; every
// run is measured until what it left pending is done. Prints the medians against the targets
// (script within 10 % of the process CPU by hand, the wait itself under 2 % of a core) with the
// spread of the rounds' ratios, and, from rounds with a 1 s tone, what a further second of tone
// costs each way and what a run costs once, apart from its wait.
int compareScriptWaitWithHand(int argc, char** argv, const char* title,
                              const std::function<std::unique_ptr<ToneRig>(int seconds)>& makeRig);

}  // namespace quor::bench
