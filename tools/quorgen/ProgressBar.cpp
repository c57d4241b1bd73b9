#include "ProgressBar.h"

#include <algorithm>
#include <iomanip>
#include <string>

namespace quor::tools {

namespace {

constexpr int kWidth = 30;
constexpr auto kRedraw = std::chrono::milliseconds(100);

}  // namespace

void ProgressBar::show(double doneSeconds) {
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now < next_) return;
  next_ = now + kRedraw;
  draw(doneSeconds);
}

void ProgressBar::draw(double doneSeconds) {
  // The total may be an estimate: a bar full before the end stays full.
  const double part = total_ > 0 ? std::clamp(doneSeconds / total_, 0.0, 1.0) : 1.0;
  const int filled = static_cast<int>(part * kWidth);
  out_ << "\rquorgen: [" << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] "
       << std::fixed << std::setprecision(1) << doneSeconds << " of " << total_ << " s "
       << std::flush;
  drawn_ = true;
}

void ProgressBar::clear() {
  if (!drawn_) return;
  out_ << "\r\033[K" << std::flush;
  drawn_ = false;
}

void ProgressBar::finish(double doneSeconds) {
  draw(doneSeconds);
  out_ << "\n" << std::flush;
  drawn_ = false;
}

}  // namespace quor::tools
