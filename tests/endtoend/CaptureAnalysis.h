#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace quor::testing {

// A mono recording, read from a WAV file through libsndfile.
struct Recording {
  int rate = 0;
  std::vector<double> samples;  // full scale = 1.0
};

// Mixes all channels down; nullopt when the file cannot be read.
std::optional<Recording> readRecording(const std::string& path);

struct ToneSpan {
  size_t first = 0;  // first sample at or above the threshold
  size_t last = 0;   // last one
  double seconds(int rate) const { return static_cast<double>(last - first + 1) / rate; }
};

// The longest stretch louder than `fraction` of the loudest part, to 5 ms; nullopt when silent.
std::optional<ToneSpan> findTone(const Recording& recording, double fraction = 0.25);

// The longest run of samples quieter than `fraction` of the loudest sample, between the first
// and the last sample at least half as loud as that: a gap inside a tone. 0 when silent.
double longestGapSeconds(const Recording& recording, double fraction = 0.05);

// Frequency from the median distance of the rising zero crossings between `from` and `to`,
// interpolated to a fraction of a sample; 0 when there are fewer than two.
double zeroCrossingFrequency(const Recording& recording, size_t from, size_t to);

// Level of the sine with the median RMS of 20 ms windows between `from` and `to`, in dB
// relative to full scale (a full-scale sine is 0 dBFS).
double sineLevelDbfs(const Recording& recording, size_t from, size_t to);

}  // namespace quor::testing
