// The framework's text functions count characters, not bytes.

#include <gtest/gtest.h>

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

TEST(TextTest, StrGivesTheDefaultDecimalText) {
  EXPECT_EQ(Str(int64_t{0}), "0");
  EXPECT_EQ(Str(int64_t{-5}), "-5");
  EXPECT_EQ(Str(int64_t{170}), "170");
  struct Case {
    double value;
    const char* expected;
  };
  for (const Case& c : {Case{0.0, "0"}, Case{5.3, "5.3"}, Case{12.6, "12.6"}, Case{20.0, "20"},
                        Case{0.1 + 0.2, "0.3"}, Case{-1.5, "-1.5"}, Case{1700000123.25, "1.7e+09"}}) {
    EXPECT_EQ(Str(c.value), c.expected) << c.value;
  }
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
