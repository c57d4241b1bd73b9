#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QTest>
#include <functional>

#include "PrivateSessionBus.h"
#include "ScreensaverInhibitor.h"
#include "ScreensaverRule.h"

namespace quor {
namespace {

using testing::FakeScreensaverService;
using testing::PrivateSessionBus;
using testing::ScreensaverCall;

TEST(AppMessage, DropsOnlyTheScreensaverRequestWhileATonePlaysWithTheOptionChecked) {
  EXPECT_TRUE(AppMessage(274, 61760, true, true));
  EXPECT_FALSE(AppMessage(274, 61760, false, true));  // silent
  EXPECT_FALSE(AppMessage(274, 61760, true, false));  // option off
  EXPECT_FALSE(AppMessage(274, 61760, false, false));
  EXPECT_FALSE(AppMessage(274, 0xF020, true, true));  // minimise passes
  EXPECT_FALSE(AppMessage(274, 61761, true, true));   // the parameter must match exactly
  EXPECT_FALSE(AppMessage(274, 61760 + (uint64_t{1} << 32), true, true));
  EXPECT_FALSE(AppMessage(273, 61760, true, true));  // another message number
  EXPECT_FALSE(AppMessage(0x112 + 0x10000, 61760, true, true));
}

class ScreensaverInhibitorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!bus_.started()) GTEST_SKIP() << bus_.failure().toStdString();
  }

  QDBusConnection client() { return bus_.connect("generator"); }

  PrivateSessionBus bus_;
};

std::vector<QString> members(const std::vector<ScreensaverCall>& calls) {
  std::vector<QString> result;
  for (const auto& call : calls) result.push_back(call.member);
  return result;
}

// The bus answers on its own time: the test handles events until the condition holds.
bool eventually(const std::function<bool()>& condition) {
  return QTest::qWaitFor(condition, 5000);
}

TEST_F(ScreensaverInhibitorTest, InhibitsExactlyWhileATonePlaysWithTheOptionChecked) {
  FakeScreensaverService service(bus_, "/org/freedesktop/ScreenSaver");
  ASSERT_TRUE(service.registered());
  ScreensaverInhibitor inhibitor(client());
  const auto released = [&] { return service.heldCookies().empty() && !inhibitor.pending(); };

  inhibitor.update(true, false);  // playing, option off
  inhibitor.update(false, true);  // option on, silent
  EXPECT_FALSE(inhibitor.pending());
  EXPECT_FALSE(inhibitor.inhibited());

  inhibitor.update(true, true);
  ASSERT_TRUE(eventually([&] { return inhibitor.inhibited(); }));
  ASSERT_EQ(service.calls().size(), 1u);
  const ScreensaverCall inhibit = service.calls().front();
  EXPECT_EQ(inhibit.member, "Inhibit");
  EXPECT_EQ(inhibit.path, "/org/freedesktop/ScreenSaver");
  ASSERT_EQ(inhibit.arguments.size(), 2);
  EXPECT_EQ(inhibit.arguments[0].toString(), "Quor Generator");
  EXPECT_FALSE(inhibit.arguments[1].toString().isEmpty());
  ASSERT_EQ(service.heldCookies().size(), 1u);

  inhibitor.update(true, true);  // still the same state: no second inhibition
  EXPECT_FALSE(inhibitor.pending());

  inhibitor.update(false, true);  // the tone stopped
  EXPECT_FALSE(inhibitor.inhibited());
  EXPECT_TRUE(eventually(released));

  inhibitor.update(true, true);   // the next tone
  inhibitor.update(true, false);  // the option is unchecked while it plays
  EXPECT_TRUE(eventually([&] { return service.calls().size() == 4 && released(); }));
  EXPECT_FALSE(inhibitor.inhibited());

  const std::vector<QString> expected{"Inhibit", "UnInhibit", "Inhibit", "UnInhibit"};
  EXPECT_EQ(members(service.calls()), expected);
  // Each release hands back the cookie of the inhibition it ends.
  const auto calls = service.calls();
  EXPECT_EQ(calls[1].arguments.front().toUInt(), 4711u);
  EXPECT_EQ(calls[3].arguments.front().toUInt(), 4712u);
}

TEST_F(ScreensaverInhibitorTest, ReleasesWhenTheProgramEnds) {
  FakeScreensaverService service(bus_, "/org/freedesktop/ScreenSaver");
  ASSERT_TRUE(service.registered());
  {
    ScreensaverInhibitor inhibitor(client());
    inhibitor.update(true, true);
    ASSERT_TRUE(eventually([&] { return inhibitor.inhibited(); }));
  }
  EXPECT_TRUE(eventually([&] { return service.heldCookies().empty(); }));
  const std::vector<QString> expected{"Inhibit", "UnInhibit"};
  EXPECT_EQ(members(service.calls()), expected);
}

TEST_F(ScreensaverInhibitorTest, FindsAServiceThatUsesTheShortObjectPath) {
  FakeScreensaverService service(bus_, "/ScreenSaver");
  ASSERT_TRUE(service.registered());
  ScreensaverInhibitor inhibitor(client());
  inhibitor.update(true, true);
  ASSERT_TRUE(eventually([&] { return inhibitor.inhibited(); }));
  inhibitor.update(false, true);
  ASSERT_TRUE(eventually([&] { return service.calls().size() == 2; }));
  const auto calls = service.calls();
  EXPECT_EQ(calls[1].member, "UnInhibit");
  EXPECT_EQ(calls[1].path, "/ScreenSaver");
  EXPECT_TRUE(service.heldCookies().empty());
}

TEST_F(ScreensaverInhibitorTest, AServiceThatAnswersLateBlocksNothingAndItsAnswerCounts) {
  FakeScreensaverService service(bus_, "/org/freedesktop/ScreenSaver");
  ASSERT_TRUE(service.registered());
  service.holdAnswers();
  ScreensaverInhibitor inhibitor(client());

  // The tone ends before the answer comes: the inhibition granted late is handed back.
  inhibitor.update(true, true);
  inhibitor.update(false, true);
  ASSERT_TRUE(eventually([&] { return service.calls().size() == 1; }));
  service.answerHeldCalls();
  EXPECT_TRUE(
      eventually([&] { return service.calls().size() == 2 && service.heldCookies().empty(); }));
  EXPECT_FALSE(inhibitor.inhibited());

  // A tone that still plays when the late answer comes keeps it.
  service.holdAnswers();
  inhibitor.update(true, true);
  ASSERT_TRUE(eventually([&] { return service.calls().size() == 3; }));
  EXPECT_FALSE(inhibitor.inhibited());
  service.answerHeldCalls();
  EXPECT_TRUE(eventually([&] { return inhibitor.inhibited(); }));
  EXPECT_EQ(service.heldCookies().size(), 1u);
  const std::vector<QString> expected{"Inhibit", "UnInhibit", "Inhibit"};
  EXPECT_EQ(members(service.calls()), expected);
}

TEST_F(ScreensaverInhibitorTest, WithoutAScreensaverServiceNothingIsInhibitedAndNothingBreaks) {
  ScreensaverInhibitor inhibitor(client());
  inhibitor.update(true, true);
  EXPECT_TRUE(eventually([&] { return !inhibitor.pending(); }));
  EXPECT_FALSE(inhibitor.inhibited());
  inhibitor.update(false, true);
  EXPECT_FALSE(inhibitor.inhibited());
}

TEST(ScreensaverInhibitorWithoutBus, DoesNothing) {
  const QDBusConnection nowhere =
      QDBusConnection::connectToBus("unix:path=/nonexistent/quor-bus", "nowhere");
  ASSERT_FALSE(nowhere.isConnected());
  {
    ScreensaverInhibitor inhibitor(nowhere);
    inhibitor.update(true, true);
    EXPECT_FALSE(inhibitor.inhibited());
  }
  QDBusConnection::disconnectFromBus("nowhere");
}

}  // namespace
}  // namespace quor
