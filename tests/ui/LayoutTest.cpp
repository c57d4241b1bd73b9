#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>

#include "WindowFixture.h"

namespace quor::testing {
namespace {

class LayoutTest : public WindowTest {};

TEST_F(LayoutTest, SavesAScreenshotOfTheWindow) {
  showWindow();
  const QPixmap shot = window->grab();
  const QString path = QDir::current().filePath("main-window.png");
  ASSERT_TRUE(shot.save(path));
  EXPECT_EQ(window->centralWidget()->size(), QSize(652, 373));
}

}  // namespace
}  // namespace quor::testing
