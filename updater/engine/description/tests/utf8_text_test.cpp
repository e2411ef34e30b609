#include <gtest/gtest.h>

#include <string>

#include "engine/description/core/utf8_text.h"

namespace qxu {
namespace {

bool Utf8(const std::string& bytes) { return IsUtf8Text(bytes.data(), bytes.size()); }

// "ソフト" and "表示" as UTF-8 and as code page 932.
const std::string kSoftUtf8 = "\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88";
const std::string kShowUtf8 = "\xE8\xA1\xA8\xE7\xA4\xBA";
const std::string kSoftSjis = "\x83\x5C\x83\x74\x83\x67";
const std::string kShowSjis = "\x95\x5C\x8E\xA6";

TEST(Utf8Text, JapaneseUtf8IsUtf8AndShiftJisIsNot) {
  EXPECT_TRUE(Utf8("-dl U/a;C:\\" + kSoftUtf8 + "\\" + kShowUtf8 + ".txt"));
  EXPECT_FALSE(Utf8("-dl U/a;C:\\" + kSoftSjis + "\\" + kShowSjis + ".txt"));
  EXPECT_FALSE(Utf8("\xB1\xB2"));  // half-width katakana of code page 932
  // ASCII alone reads the same either way, so it stays with the code page.
  EXPECT_FALSE(Utf8("--silent -dl U/a.txt"));
  EXPECT_FALSE(Utf8(""));
}

TEST(Utf8Text, MalformedSequencesAreRefused) {
  EXPECT_TRUE(Utf8("\xC3\xA9"));              // U+00E9
  EXPECT_TRUE(Utf8("\xF4\x8F\xBF\xBF"));      // U+10FFFF, the last one
  EXPECT_TRUE(Utf8("\xF0\x9F\x98\x80"));      // beyond the basic plane
  EXPECT_FALSE(Utf8("\xC0\xAF"));             // overlong "/"
  EXPECT_FALSE(Utf8("\xE0\x80\xAF"));         // overlong, three bytes
  EXPECT_FALSE(Utf8("\xF0\x80\x80\xAF"));     // overlong, four bytes
  EXPECT_FALSE(Utf8("\xED\xA0\x80"));         // a surrogate
  EXPECT_FALSE(Utf8("\xF4\x90\x80\x80"));     // beyond U+10FFFF
  EXPECT_FALSE(Utf8("\xF8\x88\x80\x80\x80"));  // five-byte form
  EXPECT_FALSE(Utf8("a\xE3\x82"));            // cut at the end
  EXPECT_FALSE(Utf8("\xE3\x82 x"));           // cut in the middle
  EXPECT_FALSE(Utf8("\x82\xBD"));             // continuation without a lead byte
  EXPECT_FALSE(Utf8(kSoftUtf8 + "\xFF"));     // one bad byte spoils the lot
}

TEST(Utf8Text, ByteOrderMark) {
  EXPECT_TRUE(HasUtf8Mark("\xEF\xBB\xBF-sl", 6));
  EXPECT_TRUE(HasUtf8Mark("\xEF\xBB\xBF", 3));
  EXPECT_FALSE(HasUtf8Mark("\xEF\xBB", 2));
  EXPECT_FALSE(HasUtf8Mark("\xFF\xFE-", 3));
  EXPECT_FALSE(HasUtf8Mark(nullptr, 0));
}

TEST(Utf8Text, DecodingGivesTheCodePointAndLength) {
  char32_t c = 0;
  EXPECT_EQ(DecodeUtf8Char("A", 1, &c), 1u);
  EXPECT_EQ(c, U'A');
  EXPECT_EQ(DecodeUtf8Char(kSoftUtf8.data(), kSoftUtf8.size(), &c), 3u);
  EXPECT_EQ(c, U'\u30BD');
  EXPECT_EQ(DecodeUtf8Char("\xF0\x9F\x98\x80", 4, &c), 4u);
  EXPECT_EQ(c, char32_t(0x1F600));
  EXPECT_EQ(DecodeUtf8Char("\xE3\x82", 2, &c), 0u);
}

}  // namespace
}  // namespace qxu
