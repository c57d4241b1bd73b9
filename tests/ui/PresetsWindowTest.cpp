#include <QGroupBox>
#include <QMenu>

#include "WindowFixture.h"

namespace quor::testing {
namespace {

class PresetsWindowTest : public WindowTest {
 protected:
  PresetsWindowTest() { showWindow(); }

  QPushButton* button(int slot) const {
    static const char* const kNames[] = {"Mem1", "Mem2", "Memory3", "Memory4"};
    return child<QPushButton>(kNames[slot - 1]);
  }
  QLineEdit* nameEdit(int slot) const {
    return field(QString("Mem%1Edit").arg(slot).toLatin1().constData());
  }
  void menuItem(const char* name) { window->findChild<QAction*>(name)->trigger(); }
};

TEST_F(PresetsWindowTest, EachButtonHasItsPopupWithStoreAndRename) {
  const char* menus[] = {"PopupMenu1", "PopupMenu2", "PopupMenu3", "PopupMenu4"};
  for (const char* name : menus) {
    QMenu* menu = child<QMenu>(name);
    ASSERT_EQ(menu->actions().size(), 2) << name;
    EXPECT_EQ(menu->actions()[0]->text(), "Store");
    EXPECT_EQ(menu->actions()[1]->text(), "Rename");
  }
  EXPECT_EQ(window->findChild<QAction*>("Store")->toolTip(),
            "Store settings in this memory position");
  for (int slot = 1; slot <= 4; ++slot) {
    EXPECT_EQ(button(slot)->text(), QString("Memory %1").arg(slot));
    EXPECT_EQ(button(slot)->toolTip(), "Recall Stored Sweep Settings (Right-click to Store)");
    EXPECT_EQ(button(slot)->contextMenuPolicy(), Qt::CustomContextMenu);
  }
}

TEST_F(PresetsWindowTest, StoreChangeRecallShowsTheStoredSettingsAgain) {
  window->setText(Control::fEdit, "250");
  window->setChecked(Control::chkLoop, false);
  window->setItemIndex(Control::WaveForm, 1);
  menuItem("Store3");
  window->setText(Control::fEdit, "4000");
  window->setChecked(Control::chkLoop, true);
  window->setItemIndex(Control::WaveForm, 2);
  QTest::mouseClick(button(3), Qt::LeftButton);
  EXPECT_EQ(field("fEdit")->text(), "250");
  EXPECT_FALSE(child<QCheckBox>("chkLoop")->isChecked());
  EXPECT_EQ(child<QComboBox>("WaveForm")->currentIndex(), 1);
  EXPECT_EQ(output.starts, 0);  // a recall switches nothing on
}

TEST_F(PresetsWindowTest, RenameOpensABorderlessEditOnTheButtonsFace) {
  menuItem("Rename1");  // slot 2
  QLineEdit* edit = nameEdit(2);
  EXPECT_TRUE(edit->isVisible());
  EXPECT_TRUE(edit->isEnabled());
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_FALSE(edit->hasFrame());
  EXPECT_EQ(edit->text(), "Memory 2");
  EXPECT_EQ(edit->geometry(), QRect(button(2)->x() + 5, button(2)->y() + 5, 80, 14));
  EXPECT_FALSE(window->onButtonDefault());
}

TEST_F(PresetsWindowTest, EnterCommitsTheNameThenTheNextEnterPressesOnOff) {
  window->setText(Control::fEdit, "777");  // unsaved: a recall would lose it
  menuItem("Rename");                      // slot 1
  nameEdit(1)->selectAll();
  QTest::keyClicks(nameEdit(1), "Bass");
  // Keys as the window receives them, delivered to whichever control has the focus.
  QTest::keyClick(window->windowHandle(), Qt::Key_Return);
  EXPECT_EQ(button(1)->text(), "Bass");
  EXPECT_EQ(memorySlot(window->presets().memories, 1).Name, "Bass");
  EXPECT_FALSE(nameEdit(1)->isVisible());
  EXPECT_FALSE(nameEdit(1)->isEnabled());
  EXPECT_EQ(output.starts, 0);
  QTest::keyClick(window->windowHandle(), Qt::Key_Return);
  EXPECT_EQ(output.starts, 1);
  EXPECT_EQ(field("fEdit")->text(), "777");
}

TEST_F(PresetsWindowTest, EscapeLeavesTheEditOpenWithItsText) {
  menuItem("Rename3");  // slot 4
  QTest::keyClicks(nameEdit(4), " X");
  QTest::keyClick(nameEdit(4), Qt::Key_Escape);
  EXPECT_TRUE(nameEdit(4)->isVisible());
  EXPECT_EQ(nameEdit(4)->text(), "Memory 4 X");
  EXPECT_EQ(button(4)->text(), "Memory 4");
}

TEST_F(PresetsWindowTest, ClickingAnotherControlCommitsThenThatControlActs) {
  menuItem("Rename2");  // slot 3
  nameEdit(3)->selectAll();
  QTest::keyClicks(nameEdit(3), "Room");
  QCheckBox* loop = child<QCheckBox>("chkLoop");
  QTest::mouseClick(loop, Qt::LeftButton, {}, QPoint(7, loop->height() / 2));
  EXPECT_EQ(button(3)->text(), "Room");
  EXPECT_FALSE(nameEdit(3)->isVisible());
  EXPECT_FALSE(loop->isChecked());
  EXPECT_TRUE(window->onButtonDefault());
}

TEST_F(PresetsWindowTest, RenamingAgainPutsTheCaptionBack) {
  menuItem("Rename");
  QTest::keyClicks(nameEdit(1), "lost");
  menuItem("Rename");
  EXPECT_EQ(nameEdit(1)->text(), "Memory 1");
}

TEST_F(PresetsWindowTest, AnEmptyNameLeavesTheButtonWithoutCaption) {
  menuItem("Rename");
  nameEdit(1)->clear();
  QTest::keyClick(nameEdit(1), Qt::Key_Enter);
  EXPECT_EQ(button(1)->text(), "");
  EXPECT_EQ(memorySlot(window->presets().memories, 1).Name, "");
}

TEST_F(PresetsWindowTest, StoringKeepsTheGivenName) {
  menuItem("Rename");
  nameEdit(1)->setText("Mine");
  QTest::keyClick(nameEdit(1), Qt::Key_Return);
  window->setText(Control::Duration, "8");
  menuItem("Store");
  EXPECT_EQ(button(1)->text(), "Mine");
  EXPECT_EQ(memorySlot(window->presets().memories, 1).Duration, "8");
}

TEST_F(PresetsWindowTest, EnterOnAFocusedPresetButtonRecallsInsteadOfSwitching) {
  window->setText(Control::fEdit, "777");
  button(1)->setFocus();
  QTest::keyClick(button(1), Qt::Key_Return);
  EXPECT_EQ(field("fEdit")->text(), "1000");
  EXPECT_EQ(output.starts, 0);
}

}  // namespace
}  // namespace quor::testing
