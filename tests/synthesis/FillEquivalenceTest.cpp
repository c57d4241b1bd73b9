// The fast fill against the plain definition over many tones: every byte, every answer and
// the working values after every buffer must agree.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

#include "SampleFast.h"
#include "SideBySide.h"

namespace quor::testing {
namespace {

constexpr std::array<int32_t, 5> kRates{11025, 22050, 44100, 48000, 96000};
// Sine, square, triangular, and an index no list item has.
constexpr std::array<int32_t, 4> kWaveforms{0, 1, 2, 7};
// Whole buffers, odd sizes and the smallest ones.
constexpr std::array<int32_t, 8> kSizes{16384, 4096, 4097, 1023, 7777, 3, 2, 1};
constexpr std::array<float, 6> kDutyCycles{0.0f, 100.0f, 50.0f, 30.0f, 12.5f, 150.0f};

enum class Signal { Constant, LinearSweep, LogarithmicSweep };

class ToneDraw {
 public:
  explicit ToneDraw(uint32_t seed) : random_(seed) {}

  // A frequency between 1 Hz and just below the bandwidth, evenly on a log scale.
  long double frequency(int32_t rate) {
    const long double top = rate / 2.0L;
    const long double f =
        expl(std::uniform_real_distribution<double>(0.0, 1.0)(random_) * logl(top));
    return f < top ? f : top * 0.999L;
  }
  int32_t pick(int32_t count) {
    return std::uniform_int_distribution<int32_t>(0, count - 1)(random_);
  }
  bool coin() { return pick(2) == 1; }

  ToneSetup tone(int32_t rate, Signal signal, int32_t samplesPerPeriod) {
    ToneSetup s;
    s.sampleRate = rate;
    s.frequency = frequency(rate);
    s.finalFrequency = frequency(rate);
    s.logarithmic = signal == Signal::LogarithmicSweep;
    s.samplesPerPeriod = samplesPerPeriod;
    s.level = pick(101);
    s.positiveOffset = coin();
    if (pick(3) == 0) {
      s.pulsesPerSecond = 1 + pick(120);
      s.dutyCycle = kDutyCycles[pick(static_cast<int32_t>(kDutyCycles.size()))];
    }
    return s;
  }

 private:
  std::mt19937 random_;
};

// Roughly `samples` samples of every rate, waveform and sample width for one kind of signal.
void allCombinations(Signal signal, uint32_t seed, int64_t samples, int64_t& total) {
  ToneDraw draw(seed);
  for (int32_t rate : kRates) {
    for (int32_t waveform : kWaveforms) {
      for (int32_t bits : {16, 8}) {
        const int32_t size = kSizes[draw.pick(4)];
        const int32_t slotsPerBuffer = bits == 16 ? size / 2 : size;
        // Periods shorter than the run, so loop restarts and tone ends happen too.
        const int32_t period = rate / 4 + draw.pick(rate);
        const ToneSetup setup = draw.tone(rate, signal, period);
        WorkingValues v = startedTone(setup, signal != Signal::Constant);
        const FillInputs in{waveform, draw.coin(), signal != Signal::Constant, bits};
        const auto buffers = static_cast<int32_t>(samples / slotsPerBuffer + 1);
        ASSERT_TRUE(fillsAgree(v, in, size, buffers, &total))
            << "rate " << rate << " waveform " << waveform << " bits " << bits << " f "
            << static_cast<double>(setup.frequency) << " g "
            << static_cast<double>(setup.finalFrequency) << " level " << setup.level << " pulses "
            << setup.pulsesPerSecond << " duty " << setup.dutyCycle << " loop " << in.loop
            << " size " << size;
      }
    }
  }
}

// The combinations run once with the kernels the processor selects and once with the SSE2
// kernels every x86-64 processor has.
class FillEquivalenceByKernel : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { useBaselineKernelsOnly(GetParam()); }
  void TearDown() override { useBaselineKernelsOnly(false); }
};

TEST_P(FillEquivalenceByKernel, ConstantTonesAtEveryRateWaveformAndWidth) {
  int64_t total = 0;
  allCombinations(Signal::Constant, 11, 70000, total);
  EXPECT_GE(total, 40 * 70000);
}

TEST_P(FillEquivalenceByKernel, LinearSweepsAtEveryRateWaveformAndWidth) {
  int64_t total = 0;
  allCombinations(Signal::LinearSweep, 12, 70000, total);
  EXPECT_GE(total, 40 * 70000);
}

TEST_P(FillEquivalenceByKernel, LogarithmicSweepsAtEveryRateWaveformAndWidth) {
  int64_t total = 0;
  allCombinations(Signal::LogarithmicSweep, 13, 70000, total);
  EXPECT_GE(total, 40 * 70000);
}

INSTANTIATE_TEST_SUITE_P(Kernels, FillEquivalenceByKernel, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Sse2Only" : "Selected";
                         });

// chkLoop checked after the period ended: the counter runs past the period and the sweep
// goes on beyond its final frequency (downwards through zero into negative increments,
// upwards past the bandwidth, logarithmically towards overflow).
TEST(FillEquivalence, SweepsRunningOnPastTheirFinalFrequency) {
  ToneDraw draw(14);
  int64_t total = 0;
  for (int32_t rate : kRates) {
    for (const Signal signal : {Signal::LinearSweep, Signal::LogarithmicSweep}) {
      for (int32_t waveform : {0, 1, 2}) {
        ToneSetup setup = draw.tone(rate, signal, 3000 + draw.pick(3000));
        setup.frequency = draw.coin() ? rate * 0.4L : 5.0L + draw.pick(100);
        setup.finalFrequency = setup.frequency > 1000 ? 3.0L : rate * 0.45L;
        WorkingValues v = startedTone(setup, true);
        const int32_t bits = draw.coin() ? 16 : 8;
        FillInputs in{waveform, false, true, bits};
        ASSERT_TRUE(fillsAgree(v, in, 4096, 3, &total));  // past the end, not looping
        in.loop = true;
        ASSERT_TRUE(fillsAgree(v, in, 4097, 12, &total))
            << "rate " << rate << " waveform " << waveform << " f "
            << static_cast<double>(setup.frequency) << " g "
            << static_cast<double>(setup.finalFrequency);
      }
    }
  }
  EXPECT_GE(total, 30 * 14 * 2048);
}

// Increments far below the phase make the extended sum round at 64 bits before it rounds to
// double. With these increments the 64-bit rounding lands exactly between two doubles (for
// phases in [2, 4) and [4, 8) respectively), where the second rounding goes to even and a
// single rounding would not.
TEST(FillEquivalence, PhaseSumsThatRoundTwice) {
  int64_t total = 0;
  for (double increment : {0x1p-14 + 0x1p-52 + 0x1p-64, 0x1p-14 + 0x1p-51 + 0x1p-63,
                           0x1p-9 + 0x1p-52 + 0x1p-64, 0x1p-9 + 0x1p-51 - 0x1p-63}) {
    for (bool sweep : {false, true}) {
      ToneSetup setup;
      setup.sampleRate = 96000;
      WorkingValues v = startedTone(setup, false);
      v.Phase = 2.0;
      v.PhaseIncrement = increment;
      v.SweepStep = sweep ? 0x1p-40f : 0.0f;
      const FillInputs in{0, true, sweep, 16};
      ASSERT_TRUE(fillsAgree(v, in, 16384, 10, &total)) << "increment " << increment;
    }
  }
  // Low tones reach the same roundings by themselves.
  for (long double f : {1.0L, 2.5L, 7.0L, 13.3L, 29.0L}) {
    ToneSetup setup;
    setup.sampleRate = 96000;
    setup.frequency = f;
    WorkingValues v = startedTone(setup, false);
    ASSERT_TRUE(fillsAgree(v, FillInputs{0, true, false, 16}, 16384, 12, &total))
        << "f " << static_cast<double>(f);
  }
}

// Every level at a fixed tone: the scale factor changes the rounding of every sample.
TEST(FillEquivalence, EveryLevelWithAndWithoutOffset) {
  int64_t total = 0;
  for (int32_t level = 0; level <= 100; ++level) {
    for (int32_t waveform : {0, 1, 2}) {
      ToneSetup setup;
      setup.sampleRate = 48000;
      setup.frequency = 997.0L + level;
      setup.level = level;
      setup.positiveOffset = level % 2 == 0;
      WorkingValues v = startedTone(setup, false);
      const FillInputs in{waveform, true, false, level % 3 == 0 ? 8 : 16};
      ASSERT_TRUE(fillsAgree(v, in, 8192, 2, &total)) << "level " << level;
    }
  }
}

// Pulse trains at every duty fraction, including none and all of the period, in both widths
// (they differ: 8-bit output holds the phase in the silent part).
TEST(FillEquivalence, PulsedTonesAtSeveralDutyFractions) {
  int64_t total = 0;
  for (float duty : kDutyCycles) {
    for (int32_t pulses : {1, 7, 120, 11025}) {
      for (int32_t bits : {16, 8}) {
        ToneSetup setup;
        setup.sampleRate = 11025;
        setup.frequency = 440.0L;
        setup.finalFrequency = 3000.0L;
        setup.samplesPerPeriod = 11025;
        setup.pulsesPerSecond = pulses;
        setup.dutyCycle = duty;
        setup.positiveOffset = pulses == 7;
        WorkingValues v = startedTone(setup, pulses == 120);
        const FillInputs in{pulses % 3, true, pulses == 120, bits};
        ASSERT_TRUE(fillsAgree(v, in, 4096, 6, &total)) << "duty " << duty << " pulses " << pulses;
      }
    }
  }
}

// States the program does not reach by itself but the fill must survive unchanged: counters
// about to wrap, periods without samples, pulse rates beyond the sample rate or below zero,
// phases far outside one turn, levels beyond full scale and invalid numbers.
TEST(FillEquivalence, HandMadeStates) {
  struct Case {
    const char* name;
    void (*edit)(WorkingValues&);
  };
  const Case cases[] = {
      {"counter about to wrap", [](WorkingValues& v) { v.SampleCounter = 2147483647 - 300; }},
      {"wrapped counter", [](WorkingValues& v) { v.SampleCounter = -2147483647 - 1; }},
      {"no samples per period", [](WorkingValues& v) { v.SamplesPerPeriod = 0; }},
      {"negative period, negative counter",
       [](WorkingValues& v) {
         v.SamplesPerPeriod = -5;
         v.SampleCounter = -400;
       }},
      {"pulses above sample rate", [](WorkingValues& v) { v.PulsesPerSecond = 50000; }},
      {"negative pulses", [](WorkingValues& v) { v.PulsesPerSecond = -3; }},
      {"large phase", [](WorkingValues& v) { v.Phase = 3.0e6; }},
      {"negative phase", [](WorkingValues& v) { v.Phase = -12345.678; }},
      {"infinite phase", [](WorkingValues& v) { v.Phase = INFINITY; }},
      {"not-a-number increment", [](WorkingValues& v) { v.PhaseIncrement = NAN; }},
      {"level above full scale", [](WorkingValues& v) { v.AmplitudeFactor = 3.7f; }},
      {"huge level", [](WorkingValues& v) { v.AmplitudeFactor = 1.0e30f; }},
      {"negative level", [](WorkingValues& v) { v.AmplitudeFactor = -0.5f; }},
      {"not-a-number level", [](WorkingValues& v) { v.AmplitudeFactor = NAN; }},
      {"increment above a turn", [](WorkingValues& v) { v.PhaseIncrement = 9.5; }},
  };
  for (const Case& c : cases) {
    for (int32_t waveform : {0, 1, 2, -1}) {
      for (int32_t bits : {16, 8}) {
        for (bool loop : {false, true}) {
          ToneSetup setup;
          setup.samplesPerPeriod = 700;
          setup.pulsesPerSecond = 30;
          setup.dutyCycle = 40.0f;
          WorkingValues v = startedTone(setup, false);
          c.edit(v);
          const FillInputs in{waveform, loop, false, bits};
          ASSERT_TRUE(fillsAgree(v, in, 999, 3)) << c.name << " waveform " << waveform;
        }
      }
    }
  }
}

// A size of no whole sample writes nothing and changes nothing, in either path.
TEST(FillEquivalence, SizesWithoutAWholeSampleWriteNothing) {
  for (int32_t size : {0, -1, -4096, 1}) {
    for (int32_t bits : {16, 8}) {
      if (bits == 8 && size == 1) continue;  // one whole 8-bit sample
      WorkingValues fast = startedTone(ToneSetup{}, false);
      WorkingValues plain = fast;
      std::array<uint8_t, 4> bytes{0xA5, 0xA5, 0xA5, 0xA5};
      const FillInputs in{0, false, false, bits};
      EXPECT_EQ(FillBuffer(fast, in, bytes.data(), size),
                reference::FillBuffer(plain, in, bytes.data(), size));
      EXPECT_EQ(bytes, (std::array<uint8_t, 4>{0xA5, 0xA5, 0xA5, 0xA5})) << "size " << size;
      EXPECT_EQ(fast.Phase, 0.0);
      EXPECT_EQ(fast.SampleCounter, 0);
    }
  }
}

// A buffer of one slot at a time must leave the same state as one large buffer.
TEST(FillEquivalence, BufferSizesDoNotChangeTheSignal) {
  ToneSetup setup;
  setup.sampleRate = 44100;
  setup.frequency = 50.0L;
  setup.finalFrequency = 15000.0L;
  setup.samplesPerPeriod = 2000;
  WorkingValues bySlot = startedTone(setup, true);
  WorkingValues whole = bySlot;
  const FillInputs in{2, true, true, 16};
  std::array<uint8_t, 2 * 5000> big{};
  std::array<uint8_t, 2> small{};
  FillBuffer(whole, in, big.data(), static_cast<int32_t>(big.size()));
  for (size_t i = 0; i < big.size(); i += 2) {
    FillBuffer(bySlot, in, small.data(), 2);
    ASSERT_EQ(small[0], big[i]) << "slot " << i / 2;
    ASSERT_EQ(small[1], big[i + 1]) << "slot " << i / 2;
  }
  EXPECT_EQ(bySlot.Phase, whole.Phase);
  EXPECT_EQ(bySlot.PhaseIncrement, whole.PhaseIncrement);
  EXPECT_EQ(bySlot.SampleCounter, whole.SampleCounter);
}

}  // namespace
}  // namespace quor::testing
