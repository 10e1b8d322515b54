#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace vorn {
namespace {

TEST(Codepage, JapaneseRoundTripsThroughCp932AndUtf16) {
  const std::string text = "デスクトップ ﾃﾞｽｸﾄｯﾌﾟ 警告 ①";
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(text)), text);
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
  EXPECT_EQ(Utf8ToCp932("警告"), "\x8C\x78\x8D\x90");
  EXPECT_EQ(Utf8ToCp932("ﾃﾞ"), "\xC3\xDE");
}

TEST(Codepage, CharactersOutsideCp932BecomeQuestionMarksWithoutLosingTheRest) {
  EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80" "b"), "a?b");
  EXPECT_EQ(Cp932ToUtf8("a\x81"), "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vorn
