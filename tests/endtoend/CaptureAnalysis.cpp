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

std::optional<ToneSpan> findTone(const Recording& recording, double fraction) {
  double peak = 0;
  for (double s : recording.samples) peak = std::max(peak, std::abs(s));
  if (peak < 1e-4) return std::nullopt;
  const double threshold = peak * fraction;
  ToneSpan span;
  bool found = false;
  for (size_t i = 0; i < recording.samples.size(); ++i) {
    if (std::abs(recording.samples[i]) < threshold) continue;
    if (!found) span.first = i;
    span.last = i;
    found = true;
  }
  return span;
}

double zeroCrossingFrequency(const Recording& recording, size_t from, size_t to) {
  const auto& x = recording.samples;
  to = std::min(to, x.size());
  double firstCrossing = -1, lastCrossing = -1;
  int crossings = 0;
  for (size_t i = from + 1; i < to; ++i) {
    if (x[i - 1] < 0 && x[i] >= 0) {
      const double at = static_cast<double>(i - 1) + (-x[i - 1]) / (x[i] - x[i - 1]);
      if (crossings == 0) firstCrossing = at;
      lastCrossing = at;
      ++crossings;
    }
  }
  if (crossings < 2) return 0;
  return (crossings - 1) * recording.rate / (lastCrossing - firstCrossing);
}

double sineLevelDbfs(const Recording& recording, size_t from, size_t to) {
  to = std::min(to, recording.samples.size());
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += recording.samples[i] * recording.samples[i];
  const double rms = std::sqrt(sum / static_cast<double>(std::max<size_t>(to - from, 1)));
  return 20 * std::log10(rms * std::sqrt(2.0));
}

}  // namespace quor::testing
