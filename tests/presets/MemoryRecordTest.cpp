#include <gtest/gtest.h>

#include <cmath>

#include "EngineFixture.h"
#include "MemoryRecord.h"

namespace quor::testing {
namespace {

class MemoryRecordTest : public EngineTest {
 protected:
  MemoryRecordTest() { initialiseMemories(memories, controls); }

  // Every control a record mirrors, as the window shows it.
  struct Shown {
    std::string fEdit, fInit, fFinal, Duration, Amplitude, Pulses, DutyCycle;
    SignalPage page;
    int waveForm;
    bool loop, logarithmic, positiveOffset;
    bool operator==(const Shown&) const = default;
  };
  Shown shown() const {
    return {controls.text(Control::fEdit),          controls.text(Control::fInit),
            controls.text(Control::fFinal),         controls.text(Control::Duration),
            controls.text(Control::Amplitude),      controls.text(Control::Pulses),
            controls.text(Control::DutyCycle),      controls.activePage(),
            controls.itemIndex(Control::WaveForm),  controls.checked(Control::chkLoop),
            controls.checked(Control::Logarithmic), controls.checked(Control::chkPositiveOffset)};
  }

  Memories memories;
};

TEST_F(MemoryRecordTest, StartContentIsTheInitialWindowUnderFourNames) {
  for (int slot = 1; slot <= 4; ++slot) {
    const MemoryRecord& r = memorySlot(memories, slot);
    EXPECT_EQ(r.Name, "Memory " + std::to_string(slot));
    EXPECT_EQ(r.fEdit, "1000");
    EXPECT_EQ(r.InitFreq, "100");
    EXPECT_EQ(r.FinalFreq, "10000");
    EXPECT_EQ(r.ActivePage, "constant");
    EXPECT_EQ(r.Duration, "3");
    EXPECT_EQ(r.Amplitude, "100");
    EXPECT_EQ(r.WaveForm, 0);
    EXPECT_TRUE(r.Loop);
    EXPECT_EQ(r.Pulses, "0");
    EXPECT_EQ(r.DutyCycle, "50");
    EXPECT_TRUE(r.Logarithmic);
    EXPECT_FALSE(r.PositiveOffset);
  }
}

TEST_F(MemoryRecordTest, StartContentTakesNeitherWaveformNorPositiveOffset) {
  controls.setItemIndex(Control::WaveForm, 2);
  controls.setChecked(Control::chkPositiveOffset, true);
  initialiseMemories(memories, controls);
  EXPECT_EQ(memorySlot(memories, 3).WaveForm, 0);
  EXPECT_FALSE(memorySlot(memories, 3).PositiveOffset);
}

TEST_F(MemoryRecordTest, RecallRestoresAllTwelveControlsAsStored) {
  enter(Control::fEdit, "440,5");
  enter(Control::fInit, "20");
  enter(Control::fFinal, "2000");
  controls.setActivePage(SignalPage::Sweep);
  enter(Control::Duration, "7");
  enter(Control::Amplitude, "80");
  controls.userSelect(Control::WaveForm, 2);
  controls.userClick(Control::chkLoop);
  controls.userClick(Control::Logarithmic);
  controls.userClick(Control::chkPositiveOffset);
  controls.userClick(Control::PulsedOn);
  enter(Control::Pulses, "4");
  enter(Control::DutyCycle, "25");
  const Shown stored = shown();
  StoreMemory(memories, 2, controls);

  enter(Control::fEdit, "1234");
  enter(Control::fInit, "30");
  enter(Control::fFinal, "3000");
  controls.setActivePage(SignalPage::Constant);
  enter(Control::Duration, "9");
  enter(Control::Amplitude, "60");
  controls.userSelect(Control::WaveForm, 1);
  controls.userClick(Control::chkLoop);
  controls.userClick(Control::Logarithmic);
  controls.userClick(Control::chkPositiveOffset);
  enter(Control::Pulses, "9");
  enter(Control::DutyCycle, "75");
  ASSERT_NE(shown(), stored);

  RecallMemory(memories, 2, controls);
  EXPECT_EQ(shown(), stored);
  EXPECT_EQ(memorySlot(memories, 2).ActivePage, "sweep");
}

TEST_F(MemoryRecordTest, StoreKeepsTheName) {
  memorySlot(memories, 4).Name = "Bass test";
  enter(Control::fEdit, "55");
  StoreMemory(memories, 4, controls);
  EXPECT_EQ(memorySlot(memories, 4).Name, "Bass test");
  EXPECT_EQ(memorySlot(memories, 4).fEdit, "55");
}

TEST_F(MemoryRecordTest, TextsAreKeptExactlyAsTyped) {
  controls.userType(Control::fEdit, " 12,5");
  controls.userType(Control::Duration, "2x");
  StoreMemory(memories, 1, controls);
  EXPECT_EQ(memorySlot(memories, 1).fEdit, " 12,5");
  EXPECT_EQ(memorySlot(memories, 1).Duration, "2x");
}

TEST_F(MemoryRecordTest, OnlyTheExactWordConstantRecallsTheConstantPage) {
  for (const char* page : {"Constant", "", "sweep", "constant "}) {
    controls.setActivePage(SignalPage::Constant);
    memorySlot(memories, 1).ActivePage = page;
    RecallMemory(memories, 1, controls);
    EXPECT_EQ(controls.activePage(), SignalPage::Sweep) << '"' << page << '"';
  }
  memorySlot(memories, 1).ActivePage = "constant";
  RecallMemory(memories, 1, controls);
  EXPECT_EQ(controls.activePage(), SignalPage::Constant);
}

TEST_F(MemoryRecordTest, AWaveformOutsideTheListLeavesNoSelection) {
  memorySlot(memories, 1).WaveForm = 3;
  RecallMemory(memories, 1, controls);
  EXPECT_EQ(controls.itemIndex(Control::WaveForm), -1);
}

// The loop box's click applies while only the fields before it are in place.
TEST_F(MemoryRecordTest, ApplyDuringRecallSeesOnlyTheEarlierFields) {
  enter(Control::fEdit, "500");
  controls.userClick(Control::chkLoop);  // loop off
  StoreMemory(memories, 1, controls);
  memorySlot(memories, 1).Pulses = "5";

  enter(Control::fEdit, "700");
  controls.userClick(Control::chkLoop);  // loop on again
  RecallMemory(memories, 1, controls);

  EXPECT_FLOAT_EQ(v.NormInitFreq, 500.0f / static_cast<float>(v.SampleRate));
  EXPECT_EQ(controls.text(Control::Pulses), "5");
  // The pulse count arrived after the last apply, so the pulse switch has not followed it.
  EXPECT_FALSE(controls.checked(Control::PulsedOn));
  EXPECT_EQ(v.PulsesPerSecond, 0);
}

TEST_F(MemoryRecordTest, RecallRepairsTextsThroughTheChangeHandlers) {
  memorySlot(memories, 1).fEdit = "abc";
  memorySlot(memories, 1).Amplitude = "250";
  RecallMemory(memories, 1, controls);
  EXPECT_EQ(controls.text(Control::fEdit), "1000");
  EXPECT_EQ(controls.text(Control::Amplitude), "100");
}

TEST_F(MemoryRecordTest, RecallWhilePlayingLeavesTheToneOn) {
  engine.toneSwitch.OnButtonClick();
  ASSERT_TRUE(output.active());
  const int stops = output.stops;
  enter(Control::fEdit, "900");
  StoreMemory(memories, 1, controls);
  RecallMemory(memories, 2, controls);
  EXPECT_TRUE(output.active());
  EXPECT_EQ(output.stops, stops);
}

TEST_F(MemoryRecordTest, SlotsOutsideOneToFourAreRefused) {
  EXPECT_THROW(StoreMemory(memories, 0, controls), std::out_of_range);
  EXPECT_THROW(RecallMemory(memories, 5, controls), std::out_of_range);
}

TEST_F(MemoryRecordTest, SlotsShareNothing) {
  enter(Control::fEdit, "321");
  StoreMemory(memories, 1, controls);
  EXPECT_EQ(memorySlot(memories, 2).fEdit, "1000");
}

}  // namespace
}  // namespace quor::testing
