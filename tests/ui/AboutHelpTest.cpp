#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>

#include "HelpWindow.h"
#include "TAboutBox.h"
#include "WindowFixture.h"

namespace quor::testing {
namespace {

class AboutHelpTest : public WindowTest {
 protected:
  AboutHelpTest() { showWindow(); }
  QAction* action(const char* name) const { return window->findChild<QAction*>(name); }
};

TEST_F(AboutHelpTest, AboutIsNotModalAndTheMainWindowTakesNoInputUntilOk) {
  action("About2")->trigger();
  TAboutBox& about = window->aboutBox();
  EXPECT_TRUE(about.isVisible());
  EXPECT_FALSE(about.isModal());
  EXPECT_EQ(about.windowTitle(), "About");
  EXPECT_FALSE(window->takesInput());
  const QString frequency = field("fEdit")->text();
  QTest::keyClicks(field("fEdit"), "7");
  EXPECT_EQ(field("fEdit")->text(), frequency);
  EXPECT_EQ(about.findChild<QLabel*>("ProductName")->text(), "Quor Generator");
  EXPECT_EQ(about.findChild<QLabel*>("Version")->text(), "Version 3.4");
  EXPECT_FALSE(about.findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
  QTest::mouseClick(about.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
  EXPECT_FALSE(about.isVisible());
  EXPECT_TRUE(window->takesInput());
  QTest::keyClicks(field("fEdit"), "7");
  EXPECT_NE(field("fEdit")->text(), frequency);
}

TEST_F(AboutHelpTest, ClosingTheAboutWindowAnyWayGivesTheMainWindowItsInputBack) {
  window->About1Click();
  window->aboutBox().close();
  EXPECT_TRUE(window->takesInput());
}

TEST_F(AboutHelpTest, MainHelpAndTheQuestionMarkOpenTheirTopics) {
  action("Help1")->trigger();
  HelpWindow& help = window->helpWindow();
  EXPECT_TRUE(help.isVisible());
  EXPECT_EQ(help.currentTopic(), 1);
  EXPECT_EQ(help.browser()->documentTitle(), "Quor Generator");
  EXPECT_EQ(help.windowTitle(), "Quor Generator Help: Quor Generator");
  QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton);
  EXPECT_EQ(help.currentTopic(), 2);
  EXPECT_EQ(help.browser()->documentTitle(), "Output Settings");
  EXPECT_EQ(help.windowTitle(), "Quor Generator Help: Output Settings");
}

TEST_F(AboutHelpTest, EveryTopicExplainsItsSubject) {
  const char* titles[] = {"Quor Generator", "Output Settings", "About Quor Generator",
                          "Run Tone Script", "File menu"};
  for (int topic = 1; topic <= 5; ++topic) {
    window->helpWindow().showTopic(topic);
    EXPECT_EQ(window->helpWindow().browser()->documentTitle(), titles[topic - 1]);
    EXPECT_GT(window->helpWindow().browser()->toPlainText().size(), 300) << topic;
  }
}

TEST_F(AboutHelpTest, AMissingTopicIsSaidInTheHelpWindow) {
  HelpWindow help("/nonexistent/help");
  help.showTopic(3);
  EXPECT_TRUE(help.browser()->toPlainText().contains("/nonexistent/help/topic3.html"));
  EXPECT_EQ(help.windowTitle(), "Quor Generator Help: Help not found");
}

TEST_F(AboutHelpTest, MenuItemsLeadToTheirHelpTopics) {
  const struct {
    const char* item;
    int topic;
  } topics[] = {{"File1", 5},      {"LoadSweepSettings1", 5},
                {"RunScript1", 4}, {"Exit1", 5},
                {"Recall1", 1},    {"OnOff1", 1},
                {"About1", 1},     {"Help1", 1},
                {"About2", 3}};
  for (const auto& t : topics) EXPECT_EQ(window->helpTopicOf(action(t.item)), t.topic) << t.item;
  EXPECT_EQ(window->helpTopicOf(nullptr), 1);
}

TEST_F(AboutHelpTest, F1OnAHighlightedMenuItemOpensItsTopic) {
  QMenu* file = child<QMenu>("File1");
  file->popup(window->mapToGlobal(QPoint(0, 0)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
  file->setActiveAction(action("RunScript1"));
  QTest::keyClick(file, Qt::Key_F1);
  EXPECT_EQ(window->helpWindow().currentTopic(), 4);
  EXPECT_FALSE(file->isVisible());
}

TEST_F(AboutHelpTest, F1ElsewhereOpensTheMainTopic) {
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  field("fEdit")->setFocus();
  QTest::keyClick(field("fEdit"), Qt::Key_F1);
  EXPECT_EQ(window->helpWindow().currentTopic(), 1);
}

}  // namespace
}  // namespace quor::testing
