#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Conversions.h"
#include "ToneError.h"

namespace quor {
namespace {

std::string errorOf(auto&& call) {
  try {
    call();
  } catch (const ToneError& e) {
    return e.what();
  }
  return "";
}

TEST(IntlStrToFloat, AcceptsPointOrCommaAsDecimalSeparator) {
  EXPECT_EQ(IntlStrToFloat("12.5"), 12.5f);
  EXPECT_EQ(IntlStrToFloat("12,5"), 12.5f);
  EXPECT_EQ(IntlStrToFloat(" 1000 "), 1000.0f);
  EXPECT_EQ(IntlStrToFloat("-3"), -3.0f);
  EXPECT_EQ(IntlStrToFloat("1e3"), 1000.0f);
  EXPECT_EQ(IntlStrToFloat(".5"), 0.5f);
  EXPECT_EQ(IntlStrToFloat("5512.5"), 5512.5f);
}

TEST(IntlStrToFloat, RoundsToFloat32) {
  EXPECT_EQ(IntlStrToFloat("0.1"), 0.1f);
  EXPECT_EQ(IntlStrToFloat("16777217"), 16777216.0f);
}

TEST(IntlStrToFloat, RejectsTextThatIsNoNumber) {
  for (const char* bad :
       {"", " ", "abc", "1.2.3", "1,2.3", "1 000", "12a", "-", ".", "1e", "nan", "inf", "1e999"}) {
    EXPECT_EQ(errorOf([&] { IntlStrToFloat(bad); }),
              std::string("'") + bad + "' is not a valid floating point value")
        << bad;
  }
}

// The result must not depend on the process locale. A German locale is built privately, so
// the test needs nothing installed beyond the C library's locale sources.
TEST(IntlStrToFloat, IsIndependentOfACommaDecimalLocale) {
  const auto dir = std::filesystem::temp_directory_path() / "quor-locale-test";
  std::filesystem::create_directories(dir);
  const std::string build =
      "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
  if (std::system(build.c_str()) != 0) GTEST_SKIP() << "localedef cannot build de_DE here";
  setenv("LOCPATH", dir.c_str(), 1);
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");

  EXPECT_EQ(IntlStrToFloat("12.5"), 12.5f);
  EXPECT_EQ(IntlStrToFloat("12,5"), 12.5f);
  EXPECT_EQ(LenientDecimal("30.5"), 30.5L);
  EXPECT_THROW(IntlStrToFloat("1.000,5"), ToneError);

  std::setlocale(LC_NUMERIC, "C");
  unsetenv("LOCPATH");
}

// The frequency slider's range fields: "." only, nothing after the number.
TEST(PlainDecimalToFloat, ReadsOnlyAPlainDecimalNumber) {
  const struct {
    const char* text;
    std::optional<float> value;
  } cases[] = {
      {"22031", 22031.0f},   {"  -5", -5.0f},        {"+12.5", 12.5f},       {"1e3", 1000.0f},
      {".5", 0.5f},          {"0.1", 0.1f},          {"12,5", std::nullopt}, {"abc", std::nullopt},
      {"", std::nullopt},    {"12 ", std::nullopt},  {"1e", std::nullopt},   {"1e50", std::nullopt},
      {"nan", std::nullopt}, {"0x10", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PlainDecimalToFloat(c.text), c.value) << c.text;
}

TEST(LenientConversions, TakeTheLeadingNumberAndNeverFail) {
  EXPECT_EQ(LenientInteger("  42abc"), 42);
  EXPECT_EQ(LenientInteger("-7"), -7);
  EXPECT_EQ(LenientInteger("+7"), 7);
  EXPECT_EQ(LenientInteger(""), 0);
  EXPECT_EQ(LenientInteger("abc"), 0);
  EXPECT_EQ(LenientInteger("3.9"), 3);
  EXPECT_EQ(LenientInteger("99999999999"), 2147483647);
  EXPECT_EQ(LenientInteger("-99999999999"), -2147483647 - 1);

  EXPECT_EQ(LenientDecimal("50"), 50.0L);
  EXPECT_EQ(LenientDecimal("30.5%"), 30.5L);
  EXPECT_EQ(LenientDecimal("2.5e1x"), 25.0L);
  EXPECT_EQ(LenientDecimal("1e"), 1.0L);
  EXPECT_EQ(LenientDecimal("x"), 0.0L);
  EXPECT_EQ(LenientDecimal("nan"), 0.0L);
}

TEST(StrictInteger, AcceptsOnlyAWholeInteger) {
  EXPECT_EQ(StrictInteger("80"), 80);
  EXPECT_EQ(StrictInteger(" -5 "), -5);
  EXPECT_EQ(StrictInteger("0000000000001"), 1);
  for (const char* bad : {"", "50.5", "5x", "2147483648", "1e2", "--1"}) {
    EXPECT_EQ(errorOf([&] { StrictInteger(bad); }),
              std::string("'") + bad + "' is not a valid integer value")
        << bad;
  }
}

TEST(RoundHalfEven, RoundsTiesToEven) {
  EXPECT_EQ(RoundHalfEven(0.5L), 0);
  EXPECT_EQ(RoundHalfEven(1.5L), 2);
  EXPECT_EQ(RoundHalfEven(2.5L), 2);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2);
  EXPECT_EQ(RoundHalfEven(2.5000001L), 3);
  EXPECT_EQ(RoundHalfEven(1e300L), 2147483647);
}

}  // namespace
}  // namespace quor
