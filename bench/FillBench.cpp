// Cost of one sample of the fill at 96000 samples per second, 16384-byte buffers, for every
// waveform, both sample widths, a constant tone and both kinds of sweep.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "SampleFast.h"
#include "SampleSynthesis.h"

namespace {

using quor::FillInputs;
using quor::WorkingValues;

constexpr int32_t kRate = 96000;
constexpr int32_t kBufferBytes = 16384;

enum Signal : int64_t { kConstant, kLinearSweep, kLogarithmicSweep };

// A looping 10 s tone: 1000 Hz constant, or a sweep from 20 Hz to 20000 Hz.
WorkingValues tone(Signal signal) {
  WorkingValues v;
  v.SampleRate = kRate;
  v.SamplesPerPeriod = 10 * kRate;
  const long double f = signal == kConstant ? 1000.0L : 20.0L;
  const long double g = signal == kConstant ? 1000.0L : 20000.0L;
  v.NormInitFreq = static_cast<float>(f / kRate);
  v.NormFinalFreq = static_cast<float>(g / kRate);
  v.PhaseIncrement = static_cast<double>(v.NormInitFreq * 2.0L * quor::kPi);
  const long double steps = v.SamplesPerPeriod - 1;
  const long double from = v.NormInitFreq;
  const long double to = v.NormFinalFreq;
  if (signal == kLogarithmicSweep)
    v.SweepFactor = static_cast<float>(expl((logl(to) - logl(from)) / steps));
  if (signal == kLinearSweep)
    v.SweepStep = static_cast<float>((to - from) * 2.0L * quor::kPi / steps);
  v.AmplitudeFactor = 1.0f;
  return v;
}

// Arguments: waveform kind, bits per sample, Signal.
void BM_Fill(benchmark::State& state) {
  const auto signal = static_cast<Signal>(state.range(2));
  WorkingValues v = tone(signal);
  const FillInputs in{static_cast<int32_t>(state.range(0)), true, signal != kConstant,
                      static_cast<int32_t>(state.range(1))};
  std::vector<uint8_t> buffer(kBufferBytes);
  for (auto _ : state) {
    benchmark::DoNotOptimize(quor::FillBuffer(v, in, buffer.data(), kBufferBytes));
    benchmark::ClobberMemory();
  }
  const int64_t samplesPerBuffer = in.bitsPerSample == 16 ? kBufferBytes / 2 : kBufferBytes;
  state.SetItemsProcessed(state.iterations() * samplesPerBuffer);
  // Counted in units of 10^9 samples and inverted: nanoseconds per sample (the console shows
  // the number with the library's "s" suffix for inverted rates; the JSON holds it plain).
  state.counters["ns_per_sample"] =
      benchmark::Counter(static_cast<double>(state.iterations() * samplesPerBuffer) * 1e-9,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void allCases(benchmark::internal::Benchmark* b) {
  b->ArgNames({"wave", "bits", "signal"});
  for (int64_t wave : {0, 1, 2}) {
    for (int64_t bits : {16, 8}) {
      for (int64_t signal : {kConstant, kLogarithmicSweep, kLinearSweep}) {
        b->Args({wave, bits, signal});
      }
    }
  }
}

BENCHMARK(BM_Fill)->Apply(allCases);

// The same fill with the SSE2 kernels that every x86-64 processor has, as on a machine
// without AVX2.
void BM_FillSse2Only(benchmark::State& state) {
  quor::useBaselineKernelsOnly(true);
  BM_Fill(state);
  quor::useBaselineKernelsOnly(false);
}
BENCHMARK(BM_FillSse2Only)
    ->ArgNames({"wave", "bits", "signal"})
    ->Args({0, 16, kConstant})
    ->Args({1, 16, kConstant})
    ->Args({2, 16, kConstant});

}  // namespace

BENCHMARK_MAIN();
