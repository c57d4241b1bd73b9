#include <QLabel>

#include "WindowFixture.h"

namespace quor::testing {
namespace {

class NoDeviceTest : public WindowTest {
 protected:
  NoDeviceTest() : WindowTest({"Default Windows Device"}, false) {}
};
class OneDeviceTest : public WindowTest {
 protected:
  OneDeviceTest() : WindowTest({"Default Windows Device", "Built-in Audio"}, true) {}
};
class TwoDevicesTest : public WindowTest {
 protected:
  TwoDevicesTest() : WindowTest({"Default Windows Device", "USB Headset", "USB Headset"}, false) {}
};

QStringList itemsOf(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

TEST_F(NoDeviceTest, OnlyTheDefaultEntryShowsAndStaysVisible) {
  EXPECT_EQ(itemsOf(child<QComboBox>("WaveDevice")), QStringList{"Default Windows Device"});
  EXPECT_FALSE(child<QComboBox>("WaveDevice")->isHidden());
  EXPECT_FALSE(child<QLabel>("Label11")->isHidden());
  EXPECT_EQ(child<QLabel>("Label11")->text(), "Device (Sound Card)");
}

TEST_F(OneDeviceTest, ASingleDeviceHidesLabelAndList) {
  EXPECT_EQ(itemsOf(child<QComboBox>("WaveDevice")),
            (QStringList{"Default Windows Device", "Built-in Audio"}));
  EXPECT_TRUE(child<QComboBox>("WaveDevice")->isHidden());
  EXPECT_TRUE(child<QLabel>("Label11")->isHidden());
  EXPECT_EQ(output.device, 0xFFFFFFFFu);
}

TEST_F(TwoDevicesTest, TwoDevicesGiveThreeItemsStartingAtTheDefault) {
  auto* list = child<QComboBox>("WaveDevice");
  EXPECT_EQ(itemsOf(list), (QStringList{"Default Windows Device", "USB Headset", "USB Headset"}));
  EXPECT_FALSE(list->isHidden());
  EXPECT_EQ(list->currentIndex(), 0);
  EXPECT_EQ(output.device, 0xFFFFFFFFu);
}

TEST_F(TwoDevicesTest, ChoosingTheThirdItemPlaysOnDeviceOne) {
  showWindow();
  auto* list = child<QComboBox>("WaveDevice");
  list->setFocus();
  QTest::keyClick(list, Qt::Key_End);  // the user's choice of the last item
  EXPECT_EQ(list->currentIndex(), 2);
  EXPECT_EQ(output.device, 1u);
  QTest::keyClick(list, Qt::Key_Home);
  EXPECT_EQ(output.device, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace quor::testing
