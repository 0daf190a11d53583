#include "text/cp1252.h"

#include <gtest/gtest.h>

namespace morlane::text {
namespace {

TEST(Cp1252, UpperCaseFollowsTheCodePageLetters) {
  EXPECT_EQ(UpperCase1252("abc xyz 09"), "ABC XYZ 09");
  // ä ö ü ß à ÿ š œ ž; the division sign and ß have no upper case of their own.
  EXPECT_EQ(UpperCase1252("\xe4\xf6\xfc\xdf\xe0\xff\x9a\x9c\x9e\xf7"),
            "\xc4\xd6\xdc\xdf\xc0\x9f\x8a\x8c\x8e\xf7");
  EXPECT_EQ(UpperCase1252("<crlf>"), "<CRLF>");
}

TEST(Cp1252, TrimBlanksRemovesOnlySpaces) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
}

}  // namespace
}  // namespace morlane::text
