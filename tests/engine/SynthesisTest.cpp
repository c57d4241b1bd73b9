#include <cmath>
#include <cstring>
#include <vector>

#include "EngineFixture.h"

namespace quor::testing {
namespace {

// Tones set up through the window's controls and rendered through the output's fill event.
class Synthesis : public EngineTest {
 protected:
  void SetUp() override { start(); }

  // What the start does to the running state before the first fill.
  void start() {
    engine.parameters.fEditExit();
    v.SampleCounter = 0;
    v.Phase = 0.0;
  }

  std::vector<int16_t> samples16(int count, bool* answer = nullptr) {
    std::vector<uint8_t> bytes(2 * count);
    int32_t size = static_cast<int32_t>(bytes.size());
    const bool more = engine.toneSwitch.AudioOut1FillBuffer(bytes.data(), size);
    if (answer != nullptr) *answer = more;
    EXPECT_EQ(size, 2 * count);
    std::vector<int16_t> out(count);
    std::memcpy(out.data(), bytes.data(), bytes.size());
    return out;
  }

  std::vector<uint8_t> samples8(int count, bool* answer = nullptr) {
    controls.userSelect(Control::cboSoundQuality, 0);
    std::vector<uint8_t> bytes(count);
    int32_t size = count;
    const bool more = engine.toneSwitch.AudioOut1FillBuffer(bytes.data(), size);
    if (answer != nullptr) *answer = more;
    return bytes;
  }

  void waveform(int index) { controls.setItemIndex(Control::WaveForm, index); }
};

TEST_F(Synthesis, FirstSamplesOfAThousandHertzAt22050) {
  EXPECT_EQ(samples16(3), (std::vector<int16_t>{9211, 17679, 24722}));
  start();
  waveform(1);
  EXPECT_EQ(samples16(3), (std::vector<int16_t>{32767, 32767, 32767}));
  start();
  waveform(2);
  EXPECT_EQ(samples16(3), (std::vector<int16_t>{5944, 11888, 17832}));
}

TEST_F(Synthesis, SquareWaveIsFullScaleBothWays) {
  waveform(1);
  const auto s = samples16(22050);
  for (int16_t x : s) EXPECT_TRUE(x == 32767 || x == -32767) << x;
  EXPECT_EQ(s[11], -32767);  // half a cycle is 11.025 samples
}

TEST_F(Synthesis, PositiveOffsetShiftsIntoOneTo32767) {
  controls.setChecked(Control::chkPositiveOffset, true);
  waveform(1);
  const auto s = samples16(22);
  EXPECT_EQ(s[0], 32767);  // 32767 div 2 + 16384
  EXPECT_EQ(s[11], 1);     // -32767 div 2 + 16384
  waveform(-1);
  EXPECT_EQ(samples16(1)[0], 16384);  // 0

  controls.setText(Control::Amplitude, "10");  // square of +-1
  waveform(1);
  start();
  for (int16_t x : samples16(22)) EXPECT_EQ(x, 16384);  // -1 div 2 and 1 div 2 are 0
}

TEST_F(Synthesis, EightBitMapping) {
  waveform(1);
  const auto s = samples8(22);
  EXPECT_EQ(s[0], 255);  // 32767
  EXPECT_EQ(s[11], 1);   // -32767

  // After the end of a non-looping tone the held sample is written as it is.
  controls.setChecked(Control::chkLoop, false);
  v.SamplesPerPeriod = 0;
  const std::pair<int32_t, uint8_t> held[] = {{-256, 127}, {-255, 128}, {0, 128},
                                              {255, 128},  {256, 129},  {32767, 255}};
  for (auto [sample, byte] : held) {
    v.CurrentSample = sample;
    EXPECT_EQ(samples8(1)[0], byte) << sample;
  }
}

TEST_F(Synthesis, OnePulsePerSecondHalfDuty) {
  enter(Control::Pulses, "1");
  waveform(1);
  const auto s = samples16(44100);
  for (int i : {0, 5000, 11024}) EXPECT_NE(s[i], 0) << i;
  for (int i : {11025, 15000, 22049}) EXPECT_EQ(s[i], 0) << i;
  for (int i : {22050, 33074}) EXPECT_NE(s[i], 0) << i;
  EXPECT_EQ(s[33075], 0);
}

TEST_F(Synthesis, PulsePeriodIsTheIntegerQuotient) {
  controls.userSelect(Control::FSList, 0);  // 11025 samples/s
  enter(Control::Pulses, "120");            // period 91 samples
  enter(Control::DutyCycle, "30");          // 27.3 samples sound
  start();
  waveform(1);
  const auto s = samples16(182);
  for (int i = 0; i < 182; ++i) EXPECT_EQ(s[i] != 0, i % 91 < 28) << i;
}

TEST_F(Synthesis, DutyZeroGatesEverySampleAndOneOrMoreLetsAllSound) {
  enter(Control::Pulses, "10");
  waveform(1);
  enter(Control::DutyCycle, "0");
  start();
  for (int16_t x : samples16(4410)) EXPECT_EQ(x, 0);
  v.CurrentSample = 1234;
  for (uint8_t b : samples8(4410)) EXPECT_EQ(b, 1234 / 256 + 128);  // held byte throughout

  controls.userSelect(Control::cboSoundQuality, 1);
  for (const char* duty : {"100", "250", "5e52"}) {
    enter(Control::DutyCycle, duty);
    start();
    for (int16_t x : samples16(4410)) EXPECT_NE(x, 0);
  }
}

TEST_F(Synthesis, EightBitPulsesResumeWhereThePreviousPulseStopped) {
  enter(Control::Pulses, "1");
  start();
  const auto gated = samples8(22050 + 10);
  const double phaseAfter = v.Phase;
  controls.setChecked(Control::PulsedOn, false);  // continuous again; the apply writes "0"
  start();
  const auto continuous = samples8(11025 + 10);
  // Samples 0..11024 sound, then the byte is held while the phase stands still.
  EXPECT_EQ(gated[11025], gated[11024]);
  EXPECT_EQ(gated[22049], gated[11024]);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(gated[22050 + i], continuous[11025 + i]) << i;
  EXPECT_EQ(v.Phase, phaseAfter);
}

TEST_F(Synthesis, NoWaveformSelectedIsSilentWhileThePhaseRuns) {
  waveform(-1);
  for (int16_t x : samples16(100)) EXPECT_EQ(x, 0);
  EXPECT_NEAR(v.Phase, std::fmod(100 * v.PhaseIncrement, 2 * M_PI), 1e-9);
}

TEST_F(Synthesis, LinearSweepAddsTheStepAfterEverySample) {
  controls.setActivePage(SignalPage::Sweep);
  controls.setChecked(Control::Logarithmic, false);
  start();
  const double first = v.PhaseIncrement;
  samples16(1);
  EXPECT_EQ(v.PhaseIncrement, static_cast<double>(static_cast<long double>(first) + v.SweepStep));
  samples16(66148);
  // The sample at counter 66149 uses the final frequency's increment, up to float rounding.
  EXPECT_NEAR(v.PhaseIncrement, v.NormFinalFreq * 2 * M_PI, 1e-5);
}

TEST_F(Synthesis, LoopingSweepReturnsToItsInitialIncrementWithUnbrokenPhase) {
  controls.setActivePage(SignalPage::Sweep);
  start();
  const double initial = v.PhaseIncrement;
  samples16(66149);
  const double phaseBefore = v.Phase;
  const double lastIncrement = v.PhaseIncrement;
  samples16(1);  // counter reaches 66150 and restarts
  EXPECT_EQ(v.SampleCounter, 0);
  EXPECT_EQ(v.PhaseIncrement, initial);
  double expected = phaseBefore + lastIncrement;
  if (expected > 2 * M_PI) expected -= 2 * M_PI;
  EXPECT_NEAR(v.Phase, expected, 1e-12);
  samples16(1);
  EXPECT_NEAR(std::remainder(v.Phase - expected - initial, 2 * M_PI), 0, 1e-12);
}

TEST_F(Synthesis, NonLoopingToneEndsAndHoldsItsLastSample) {
  controls.setChecked(Control::chkLoop, false);
  enter(Control::Duration, "3");  // 66150 samples; buffers of 8192 samples
  bool more = false;
  int trueAnswers = 0;
  for (int buffer = 0; buffer < 9; ++buffer) {
    samples16(8192, &more);
    trueAnswers += more;
  }
  EXPECT_EQ(trueAnswers, 8);
  EXPECT_FALSE(more);
  EXPECT_EQ(v.SampleCounter, 9 * 8192);  // counts on past the end
  const int16_t last = static_cast<int16_t>(v.CurrentSample);
  for (int16_t x : samples16(100, &more)) EXPECT_EQ(x, last);
  EXPECT_FALSE(more);
}

TEST_F(Synthesis, OneSecondToneHoldsItsLastSampleToTheEndOfTheRing) {
  controls.setChecked(Control::chkLoop, false);
  enter(Control::Duration, "1");
  bool more = false;
  const auto s = samples16(32768, &more);
  EXPECT_FALSE(more);
  for (int i = 22050; i < 32768; ++i) ASSERT_EQ(s[i], s[22049]) << i;
}

TEST_F(Synthesis, PeriodNoLongerThanABufferAnswersFalseAtOnce) {
  controls.setChecked(Control::chkLoop, false);
  enter(Control::Duration, "1");
  bool more = true;
  samples16(22050, &more);
  EXPECT_FALSE(more);
}

TEST_F(Synthesis, PeriodWithoutSamplesNeverSoundsEvenWhenLooping) {
  enter(Control::Duration, "0");
  bool more = true;
  v.CurrentSample = 7;
  for (int16_t x : samples16(64, &more)) EXPECT_EQ(x, 7);
  EXPECT_FALSE(more);
}

TEST_F(Synthesis, CheckingLoopAfterTheEndComputesAgainWithoutRestart) {
  controls.setChecked(Control::chkLoop, false);
  enter(Control::Duration, "1");
  samples16(22100);
  v.SampleCounter = 22100;
  controls.setChecked(Control::chkLoop, true);  // the apply restores the initial increment
  bool more = false;
  const auto s = samples16(10, &more);
  EXPECT_TRUE(more);
  EXPECT_EQ(v.SampleCounter, 22110);
  EXPECT_NE(s[0], s[1]);
}

TEST_F(Synthesis, FillsOnlyWholeSamplesWithinTheBuffer) {
  std::vector<uint8_t> bytes(5, 0xAA);
  int32_t size = 3;
  engine.toneSwitch.AudioOut1FillBuffer(bytes.data(), size);
  EXPECT_EQ(bytes[2], 0xAA);
  EXPECT_EQ(v.SampleCounter, 1);
}

}  // namespace
}  // namespace quor::testing
