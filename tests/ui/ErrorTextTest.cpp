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

TEST(ErrorTextTest, ACarriageReturnBreaksTheLineInABox) {
  EXPECT_EQ(messageBoxLines("Soundcard Error! The system message returned by Windows was: \r"
                            "There must be at least one filled buffer"),
            "Soundcard Error! The system message returned by Windows was: \n"
            "There must be at least one filled buffer");
  EXPECT_EQ(messageBoxLines("a\r\nb\rc\n"), "a\nb\nc\n");
  EXPECT_EQ(messageBoxLines("plain"), "plain");
}

}  // namespace
}  // namespace quor
