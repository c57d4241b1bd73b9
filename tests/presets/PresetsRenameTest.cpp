#include <gtest/gtest.h>

#include <array>

#include "EngineFixture.h"
#include "Presets.h"

namespace quor::testing {
namespace {

// The buttons' faces in memory: captions, name edits and the default button.
class FakeFaces : public PresetFaces {
 public:
  std::string buttonCaption(int slot) const override { return captions[at(slot)]; }
  void setButtonCaption(int slot, const std::string& c) override { captions[at(slot)] = c; }
  std::string nameEditText(int slot) const override { return edits[at(slot)]; }
  void setNameEditText(int slot, const std::string& t) override { edits[at(slot)] = t; }
  bool nameEditOpen(int slot) const override { return open[at(slot)]; }
  void setNameEditOpen(int slot, bool o) override {
    open[at(slot)] = o;
    if (!o && focused == slot) focused = 0;
  }
  void focusNameEdit(int slot) override { focused = slot; }
  bool onButtonDefault() const override { return isDefault; }
  void setOnButtonDefault(bool d) override { isDefault = d; }

  static size_t at(int slot) { return static_cast<size_t>(slot - 1); }
  std::array<std::string, 4> captions, edits;
  std::array<bool, 4> open{};
  int focused = 0;
  bool isDefault = true;
};

class PresetsTest : public EngineTest {
 protected:
  PresetsTest() { presets.initialise(); }
  FakeFaces faces;
  Presets presets{controls, faces};
};

TEST_F(PresetsTest, ButtonsStartWithTheSlotNames) {
  EXPECT_EQ(faces.captions,
            (std::array<std::string, 4>{"Memory 1", "Memory 2", "Memory 3", "Memory 4"}));
}

TEST_F(PresetsTest, BeginRenameOpensTheEditWithTheCaptionAndTakesEnterFromOnButton) {
  presets.BeginRename(3);
  EXPECT_TRUE(faces.open[2]);
  EXPECT_EQ(faces.edits[2], "Memory 3");
  EXPECT_EQ(faces.focused, 3);
  EXPECT_FALSE(faces.isDefault);
}

TEST_F(PresetsTest, CommitRenameNamesButtonAndSlotAndGivesEnterBack) {
  presets.BeginRename(2);
  faces.edits[1] = "  Sweep 20-20k ";
  presets.CommitRename(2);
  EXPECT_EQ(faces.captions[1], "  Sweep 20-20k ");
  EXPECT_EQ(memorySlot(presets.memories, 2).Name, "  Sweep 20-20k ");
  EXPECT_FALSE(faces.open[1]);
  EXPECT_TRUE(faces.isDefault);
}

TEST_F(PresetsTest, CommittingTwiceGivesTheSameResult) {
  presets.BeginRename(1);
  faces.edits[0] = "Left";
  presets.CommitRename(1);
  presets.CommitRename(1);
  EXPECT_EQ(faces.captions[0], "Left");
  EXPECT_EQ(memorySlot(presets.memories, 1).Name, "Left");
  EXPECT_TRUE(faces.isDefault);
}

TEST_F(PresetsTest, AnEmptyNameIsAllowed) {
  presets.BeginRename(4);
  faces.edits[3].clear();
  presets.CommitRename(4);
  EXPECT_EQ(faces.captions[3], "");
  EXPECT_EQ(memorySlot(presets.memories, 4).Name, "");
}

TEST_F(PresetsTest, RenameAgainRestartsFromTheCaption) {
  presets.BeginRename(1);
  faces.edits[0] = "typed, not kept";
  presets.BeginRename(1);
  EXPECT_EQ(faces.edits[0], "Memory 1");
  EXPECT_TRUE(faces.open[0]);
}

TEST_F(PresetsTest, StoreKeepsARenamedName) {
  presets.BeginRename(2);
  faces.edits[1] = "Hum";
  presets.CommitRename(2);
  enter(Control::fEdit, "50");
  presets.store(2);
  EXPECT_EQ(faces.captions[1], "Hum");
  EXPECT_EQ(memorySlot(presets.memories, 2).Name, "Hum");
  EXPECT_EQ(memorySlot(presets.memories, 2).fEdit, "50");
}

TEST_F(PresetsTest, StoreThenRecallBringsTheSettingsBack) {
  enter(Control::fEdit, "60");
  presets.store(3);
  enter(Control::fEdit, "70");
  presets.recall(3);
  EXPECT_EQ(controls.text(Control::fEdit), "60");
}

// Opening a second name edit commits the first through its loss of focus; Enter must still
// reach the second edit rather than switch the tone.
TEST_F(PresetsTest, EnterStaysWithTheEditThatIsStillOpen) {
  presets.BeginRename(1);
  presets.BeginRename(2);
  presets.CommitRename(1);  // the first edit loses the focus to the second
  EXPECT_FALSE(faces.isDefault);
  EXPECT_TRUE(faces.open[1]);
  presets.CommitRename(2);
  EXPECT_TRUE(faces.isDefault);
}

TEST_F(PresetsTest, ABadSlotChangesNothing) {
  EXPECT_THROW(presets.BeginRename(0), std::out_of_range);
  EXPECT_TRUE(faces.isDefault);
}

}  // namespace
}  // namespace quor::testing
