#include <gtest/gtest.h>

#include <QApplication>

// The flash window needs a GUI application; the offscreen platform gives it one without a
// display, with a screen of a known size.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
