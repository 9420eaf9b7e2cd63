// The framework's text functions count characters, not bytes.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "framework/text.h"

namespace fw {
namespace {

TEST(TextTest, LenCountsCharacters) {
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Len("abc"), 3);
  EXPECT_EQ(Len("ほの　ぼ"), 4) << "the ideographic space is one character";
  EXPECT_EQ(Len("𠀋a"), 2) << "a character outside the basic plane counts once";
}

TEST(TextTest, LeftCutsWholeCharacters) {
  struct Case {
    int64_t count;
    const char* expected;
  };
  const char* poem = "はる　なつ";
  for (const Case& c : {Case{-1, ""}, Case{0, ""}, Case{2, "はる"}, Case{3, "はる　"}, Case{5, "はる　なつ"},
                        Case{99, "はる　なつ"}}) {
    EXPECT_EQ(Left(poem, c.count), c.expected) << c.count;
  }
}

// Restores the process locale when the test ends.
class LocaleTest : public ::testing::Test {
 protected:
  void TearDown() override { std::setlocale(LC_ALL, saved.c_str()); }
  std::string saved = std::setlocale(LC_ALL, nullptr);
};

// The same text under the C locale and under one that writes a decimal comma.
TEST_F(LocaleTest, StrGivesTheDefaultDecimalTextUnderEveryLocale) {
  struct Case {
    double value;
    const char* expected;
  };
  const Case kDoubles[] = {{0.0, "0"},          {5.3, "5.3"},         {12.6, "12.6"},        {20.0, "20"},
                           {0.1 + 0.2, "0.3"},  {-1.5, "-1.5"},       {5.492835, "5.493"},   {0.0004, "0"},
                           {-0.0004, "0"},      {0.0123456, "0.012"}, {999.9996, "1000"},    {999.123456, "999.123"},
                           {1.23e-5, "0"},      {999999.5, "999999.5"}, {1000000.0, "1000000"},
                           {1700000123.25, "1.7e+09"}};
  for (const char* locale : {"C", "de_DE.UTF-8"}) {
    SCOPED_TRACE(locale);
    ASSERT_TRUE(std::setlocale(LC_ALL, locale)) << "the locale is missing; tools/install-deps.sh makes it";
    EXPECT_EQ(Str(int64_t{0}), "0");
    EXPECT_EQ(Str(int64_t{-5}), "-5");
    EXPECT_EQ(Str(int64_t{-9999}), "-9999");
    for (const Case& c : kDoubles) EXPECT_EQ(Str(c.value), c.expected) << c.value;
  }
  char written[16];
  std::snprintf(written, sizeof written, "%.1f", 5.3);
  EXPECT_STREQ(written, "5,3") << "the last locale writes a decimal comma, so the case above means something";
}

TEST(TextTest, ChrEncodesOneCharacter) {
  EXPECT_EQ(Chr(13), "\r");
  EXPECT_EQ(Chr(0x3000), "　");
  EXPECT_EQ(Chr(0x1F338), "🌸");
  EXPECT_EQ(Chr(-1), "");
  EXPECT_EQ(Chr(0xD800), "") << "a lone surrogate is no character";
}

}  // namespace
}  // namespace fw
