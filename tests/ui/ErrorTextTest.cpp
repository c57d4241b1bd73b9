#include <gtest/gtest.h>

#include "ErrorText.h"

namespace quor {
namespace {

TEST(ErrorTextTest, AFullStopFollowsALastCharacterAfterTheFullStop) {
  EXPECT_EQ(errorBoxText("Device lost"), "Device lost.");
  EXPECT_EQ(errorBoxText("'x' is not a valid integer value"), "'x' is not a valid integer value.");
  EXPECT_EQ(errorBoxText("Error 42"), "Error 42.");
}

TEST(ErrorTextTest, NoFullStopAfterACharacterUpToTheFullStop) {
  EXPECT_EQ(errorBoxText("Done."), "Done.");
  EXPECT_EQ(errorBoxText("Failed!"), "Failed!");
  EXPECT_EQ(errorBoxText("see 'x'"), "see 'x'");
  EXPECT_EQ(errorBoxText("value -"), "value -");
  EXPECT_EQ(errorBoxText("a, b,"), "a, b,");
  EXPECT_EQ(errorBoxText("trailing "), "trailing ");
}

TEST(ErrorTextTest, CharactersAfterTheFullStopInOrderGetOne) {
  EXPECT_EQ(errorBoxText("path/"), "path/.");
  EXPECT_EQ(errorBoxText("ratio:"), "ratio:.");
  EXPECT_EQ(errorBoxText("which?"), "which?.");
  EXPECT_EQ(errorBoxText("(a)"), "(a)");                           // ")" sorts before "."
  EXPECT_EQ(errorBoxText("Fehler: Gerät ä"), "Fehler: Gerät ä.");  // beyond ASCII
}

TEST(ErrorTextTest, AnEmptyTextStaysEmpty) {
  EXPECT_EQ(errorBoxText(""), "");
}

}  // namespace
}  // namespace quor
