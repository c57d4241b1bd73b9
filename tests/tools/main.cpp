#include <gtest/gtest.h>

#include <QCoreApplication>

// quorgen runs on its thread's plain event loop, as the program does: no Qt loop is installed.
// The application object is there for the Qt utilities the tests use (processes, folders).
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
