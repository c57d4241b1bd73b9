#include <gtest/gtest.h>

#include <QCoreApplication>

#include "QtEventLoop.h"

// Tests that run the sound device layer and the script waits on Qt's event loop, as the window
// does.
int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  quor::QtEventLoop loop;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
