// tone_probe FILE RATE tone HZ | tone_probe FILE RATE silence | tone_probe FILE RATE sequence HZ...
// Reads a raw capture (16-bit signed little-endian, mono) and checks that it holds a tone of
// the given frequency, silence, or tones of equal length one after the other in the given
// order. Prints what it measured; the exit status is the verdict.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

std::vector<double> readSamples(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<double> samples;
  unsigned char bytes[2];
  while (in.read(reinterpret_cast<char*>(bytes), 2)) {
    samples.push_back(static_cast<int16_t>(bytes[0] | (bytes[1] << 8)) / 32768.0);
  }
  return samples;
}

double meanSquare(const std::vector<double>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += s[i] * s[i];
  return to > from ? sum / static_cast<double>(to - from) : 0;
}

// Share of the signal's power that lies at `hz` (1.0 for a pure sine of that frequency).
double powerShareAt(const std::vector<double>& s, size_t from, size_t to, double hz, double rate) {
  const double w = 2 * std::numbers::pi * hz / rate;
  double re = 0, im = 0;
  for (size_t i = from; i < to; ++i) {
    re += s[i] * std::cos(w * static_cast<double>(i));
    im -= s[i] * std::sin(w * static_cast<double>(i));
  }
  const double n = static_cast<double>(to - from);
  const double tonePower = 2 * (re * re + im * im) / (n * n);
  const double total = meanSquare(s, from, to);
  return total > 0 ? tonePower / total : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: tone_probe FILE RATE tone HZ | tone_probe FILE RATE silence\n");
    return 2;
  }
  const std::vector<double> samples = readSamples(argv[1]);
  const double rate = std::stod(argv[2]);
  const std::string mode = argv[3];
  if (samples.size() < static_cast<size_t>(rate / 10)) {
    std::printf("capture too short: %zu samples\n", samples.size());
    return 1;
  }
  // The sounding part: from the first to the last sample above a small threshold.
  size_t first = 0, last = samples.size();
  while (first < last && std::fabs(samples[first]) < 0.01) ++first;
  while (last > first && std::fabs(samples[last - 1]) < 0.01) --last;
  const double rms = std::sqrt(meanSquare(samples, 0, samples.size()));
  if (mode == "silence") {
    std::printf("rms %.6f over %zu samples\n", rms, samples.size());
    return rms < 0.001 ? 0 : 1;
  }
  if ((mode != "tone" && mode != "sequence") || argc < 5) return 2;
  if (last - first < static_cast<size_t>(rate / 10)) {
    std::printf("no tone: rms %.6f, %zu sounding samples\n", rms, last - first);
    return 1;
  }
  if (mode == "sequence") {
    // The sounding span in equal parts, one for each tone; the middle half of each part is
    // measured, clear of the seams between the tones.
    const size_t parts = static_cast<size_t>(argc - 4), part = (last - first) / parts;
    bool all = true;
    std::printf("%.2f s sounding\n", static_cast<double>(last - first) / rate);
    for (size_t i = 0; i < parts; ++i) {
      const double hz = std::stod(argv[4 + i]);
      const size_t from = first + i * part + part / 4, to = from + part / 2;
      const double share = powerShareAt(samples, from, to, hz, rate);
      std::printf("  tone %zu: %.0f%% of the power at %.0f Hz\n", i + 1, 100 * share, hz);
      all = all && share > 0.9;
    }
    return all ? 0 : 1;
  }
  const double hz = std::stod(argv[4]);
  const double share = powerShareAt(samples, first, last, hz, rate);
  const double soundingRms = std::sqrt(meanSquare(samples, first, last));
  std::printf("tone: rms %.4f, %.0f%% of the power at %.0f Hz, %.2f s sounding\n", soundingRms,
              100 * share, hz, static_cast<double>(last - first) / rate);
  return share > 0.9 && soundingRms > 0.05 ? 0 : 1;
}
