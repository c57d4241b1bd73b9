#include <gtest/gtest.h>

#include <QCoreApplication>

// Notifications travel through the event loop, so every test runs inside one application.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
