#include "CaptureAnalysis.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace quor::testing {

std::optional<Recording> readRecording(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return std::nullopt;
  std::vector<double> interleaved(static_cast<size_t>(info.frames) * info.channels);
  const sf_count_t read = sf_readf_double(file, interleaved.data(), info.frames);
  sf_close(file);
  Recording recording;
  recording.rate = info.samplerate;
  recording.samples.resize(static_cast<size_t>(read));
  for (size_t i = 0; i < recording.samples.size(); ++i) {
    double sum = 0;
    for (int c = 0; c < info.channels; ++c) sum += interleaved[i * info.channels + c];
    recording.samples[i] = sum / info.channels;
  }
  return recording;
}

// The longest stretch of 5 ms windows whose RMS reaches `fraction` of the loudest window's:
// a click where a stream starts or stops is too short to count.
std::optional<ToneSpan> findTone(const Recording& recording, double fraction) {
  const size_t window = std::max<size_t>(static_cast<size_t>(recording.rate) / 200, 1);
  std::vector<double> rms;
  for (size_t start = 0; start + window <= recording.samples.size(); start += window) {
    double sum = 0;
    for (size_t i = start; i < start + window; ++i)
      sum += recording.samples[i] * recording.samples[i];
    rms.push_back(std::sqrt(sum / static_cast<double>(window)));
  }
  const double loudest = rms.empty() ? 0 : *std::max_element(rms.begin(), rms.end());
  if (loudest < 1e-4) return std::nullopt;
  size_t bestStart = 0, bestLength = 0, runStart = 0;
  for (size_t w = 0; w <= rms.size(); ++w) {
    const bool loud = w < rms.size() && rms[w] >= loudest * fraction;
    if (loud && (w == 0 || rms[w - 1] < loudest * fraction)) runStart = w;
    if (!loud && w > 0 && rms[w - 1] >= loudest * fraction && w - runStart > bestLength) {
      bestStart = runStart;
      bestLength = w - runStart;
    }
  }
  return ToneSpan{bestStart * window, (bestStart + bestLength) * window - 1};
}

double longestGapSeconds(const Recording& recording, double fraction) {
  const auto& x = recording.samples;
  double loudest = 0;
  for (const double v : x) loudest = std::max(loudest, std::fabs(v));
  if (loudest <= 0 || recording.rate <= 0) return 0;
  const auto loud = [&](double v) { return std::fabs(v) >= loudest / 2; };
  const auto first = std::find_if(x.begin(), x.end(), loud);
  const auto last = std::find_if(x.rbegin(), x.rend(), loud).base();
  size_t run = 0, longest = 0;
  for (auto it = first; it < last; ++it) {
    run = std::fabs(*it) < loudest * fraction ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return static_cast<double>(longest) / recording.rate;
}

namespace {
double median(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}
}  // namespace

// Medians keep a dropout of a busy machine's sound server from skewing the result.
double zeroCrossingFrequency(const Recording& recording, size_t from, size_t to) {
  const auto& x = recording.samples;
  to = std::min(to, x.size());
  std::vector<double> periods;
  double previous = -1;
  for (size_t i = from + 1; i < to; ++i) {
    if (x[i - 1] < 0 && x[i] >= 0) {
      const double at = static_cast<double>(i - 1) + (-x[i - 1]) / (x[i] - x[i - 1]);
      if (previous >= 0) periods.push_back(at - previous);
      previous = at;
    }
  }
  const double period = median(periods);
  return period > 0 ? recording.rate / period : 0;
}

double sineLevelDbfs(const Recording& recording, size_t from, size_t to) {
  to = std::min(to, recording.samples.size());
  const size_t window = std::max<size_t>(static_cast<size_t>(recording.rate) / 50, 1);  // 20 ms
  std::vector<double> levels;
  for (size_t start = from; start + window <= to; start += window) {
    double sum = 0;
    for (size_t i = start; i < start + window; ++i)
      sum += recording.samples[i] * recording.samples[i];
    levels.push_back(std::sqrt(sum / static_cast<double>(window)));
  }
  const double rms = median(levels);
  return 20 * std::log10(rms * std::sqrt(2.0));
}

}  // namespace quor::testing
