#include <gtest/gtest.h>

// The audio layer runs on its thread's plain event loop here, as in the command-line tool; the
// window's Qt loop is covered by the tests of the window.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
