#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>

#include "QtEventLoop.h"

namespace {

// The window restores its settings when it is created and writes them when it closes. Each
// test starts without stored settings, in a folder of its own, never the user's.
class FreshSettingsFolder : public ::testing::EmptyTestEventListener {
 public:
  explicit FreshSettingsFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}
  void OnTestStart(const ::testing::TestInfo&) override {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }

 private:
  std::filesystem::path folder_;
};

}  // namespace

// The window tests run without a display unless one is asked for.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QTemporaryDir configHome;
  setenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);
  QApplication app(argc, argv);
  const quor::QtEventLoop loop;
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(
      new FreshSettingsFolder(configHome.path().toStdString()));
  return RUN_ALL_TESTS();
}
