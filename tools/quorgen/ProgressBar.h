#pragma once
#include <chrono>
#include <ostream>

namespace quor::tools {

// A bar on one terminal line that shows seconds done of a known total, redrawn at most ten
// times a second however often it is told.
class ProgressBar {
 public:
  ProgressBar(std::ostream& out, double totalSeconds) : out_(out), total_(totalSeconds) {}

  void show(double doneSeconds);
  // Wipes the bar so that other text can take its line; the next show draws it again.
  void clear();
  // Draws the final state and ends its line.
  void finish(double doneSeconds);

 private:
  void draw(double doneSeconds);

  std::ostream& out_;
  double total_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point next_{};
};

}  // namespace quor::tools
