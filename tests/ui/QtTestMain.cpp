#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The window tests run without a display unless one is asked for.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName("Quor Generator");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
