#include <gtest/gtest.h>

#include "DeviceList.h"
#include "SimulatedWaveOut.h"

namespace quor::audio {
namespace {

TEST(DeviceList, NoDeviceShowsOnlyTheDefaultItem) {
  SimulatedWaveOut device(std::vector<std::string>{});
  const OutputDeviceList list = outputDeviceList(device);
  EXPECT_EQ(list.items, std::vector<std::string>{"Default Windows Device"});
  EXPECT_FALSE(list.hidden);
}

TEST(DeviceList, ExactlyOneDeviceHidesTheList) {
  SimulatedWaveOut device({"Speakers"});
  const OutputDeviceList list = outputDeviceList(device);
  EXPECT_EQ(list.items, (std::vector<std::string>{"Default Windows Device", "Speakers"}));
  EXPECT_TRUE(list.hidden);
}

TEST(DeviceList, TwoDevicesWithOneNameGiveTwoItemsCutTo31Characters) {
  SimulatedWaveOut device({"A rather long product name of a sound card", "Same", "Same"});
  const OutputDeviceList list = outputDeviceList(device);
  ASSERT_EQ(list.items.size(), 4u);
  EXPECT_EQ(list.items[1], "A rather long product name of a");
  EXPECT_EQ(list.items[2], list.items[3]);
  EXPECT_FALSE(list.hidden);
}

TEST(DeviceList, ItemsMapToDeviceNumbers) {
  EXPECT_EQ(deviceNumberForItem(0), WAVE_MAPPER);
  EXPECT_EQ(deviceNumberForItem(-1), WAVE_MAPPER);
  EXPECT_EQ(deviceNumberForItem(2), 1u);
}

}  // namespace
}  // namespace quor::audio
