#include "Windows1252.h"

#include <gtest/gtest.h>

namespace quor {
namespace {

TEST(Windows1252, EveryByteReadsAndWritesBackUnchanged) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string text = decodeWindows1252(all);
  EXPECT_EQ(encodeWindows1252(text), all);
}

TEST(Windows1252, CharactersOfTheCodePageMapToTheirBytes) {
  const std::string ascii = "tone 1000\t5 \x01\x7F~";
  EXPECT_EQ(decodeWindows1252(ascii), ascii);
  EXPECT_EQ(encodeWindows1252(ascii), ascii);
  EXPECT_EQ(decodeWindows1252("\x80 5\xE9\xDF"), "\u20AC 5\u00E9\u00DF");
  EXPECT_EQ(decodeWindows1252("\x93quoted\x94"), "\u201Cquoted\u201D");
  EXPECT_EQ(encodeWindows1252("Gr\u00FC\u00DFe \u20AC"),
            "Gr\xFC\xDF"
            "e \x80");
  // An undefined byte reads as the control character of its number, as Windows reads it.
  EXPECT_EQ(decodeWindows1252("a\x81z"), "a\u0081z");
}

TEST(Windows1252, WhatTheCodePageCannotHoldIsWrittenAsAQuestionMark) {
  EXPECT_EQ(encodeWindows1252("\u0101bc"), "?bc");                 // a with macron
  EXPECT_EQ(encodeWindows1252("\u4E2D\u6587"), "??");              // two CJK characters
  EXPECT_EQ(encodeWindows1252("x\U0001F50Ay"), "x?y");             // outside the BMP
  EXPECT_EQ(encodeWindows1252("bad\xFF utf8\xC3"), "bad? utf8?");  // not UTF-8 at all
  EXPECT_EQ(encodeWindows1252("\xE2\x82z"), "??z");                // a sequence cut short
}

TEST(Windows1252, LongTextsConvertWhole) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "\u00E9\u0101";
  const std::string bytes = encodeWindows1252(text);
  ASSERT_EQ(bytes.size(), 10000u);
  EXPECT_EQ(bytes.substr(0, 4), "\xE9?\xE9?");
  EXPECT_EQ(decodeWindows1252(std::string(3000, '\xE9')).size(), 6000u);
}

}  // namespace
}  // namespace quor
