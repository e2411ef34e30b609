#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "engine/description/core/argument_split.h"
#include "engine/description/core/description_text.h"
#include "engine/support/core/owned_string.h"

namespace qxu {
namespace {

std::vector<std::wstring> Collect(wchar_t** raw, int count) {
  OwnedStringList list(raw);
  std::vector<std::wstring> tokens;
  if (!list) return tokens;
  for (wchar_t** item = list.get(); *item; ++item) tokens.emplace_back(*item);
  EXPECT_EQ(static_cast<int>(tokens.size()), count);
  return tokens;
}

std::vector<std::wstring> Split(const std::wstring& text) {
  int count = -1;
  wchar_t** list = SplitArguments(text.c_str(), &count);
  EXPECT_NE(list, nullptr);
  return Collect(list, count);
}

using Tokens = std::vector<std::wstring>;

TEST(SplitArguments, WhitespaceSeparatesAndRunsOfItCollapse) {
  EXPECT_EQ(Split(L"  --confirm\t--silent\r\n\r\n-sf  a.quf "),
            (Tokens{L"--confirm", L"--silent", L"-sf", L"a.quf"}));
  EXPECT_TRUE(Split(L"").empty());
  EXPECT_TRUE(Split(L" \t\r\n").empty());
  int count = -1;
  OwnedStringList none(SplitArguments(nullptr, &count));
  EXPECT_EQ(count, 0);
}

TEST(SplitArguments, MatchingOuterQuotesAreStripped) {
  EXPECT_EQ(Split(L"\"a b\""), (Tokens{L"a b"}));
  EXPECT_EQ(Split(L"'C:\\Program Files\\Tool\\tool.exe'"), (Tokens{L"C:\\Program Files\\Tool\\tool.exe"}));
  // Only a matching first and last quote go: "a"b keeps its quotes.
  EXPECT_EQ(Split(L"\"a\"b"), (Tokens{L"\"a\"b"}));
  // A lone quote pair or a single quote character gives no token at all.
  EXPECT_EQ(Split(L"x \"\" y"), (Tokens{L"x", L"y"}));
  EXPECT_EQ(Split(L"x ' y' z"), (Tokens{L"x", L" y", L"z"}));
}

TEST(SplitArguments, AnApostropheInsideATokenIsText) {
  // The file association passes a path in double quotes, apostrophes and all.
  EXPECT_EQ(Split(L"\"C:\\Users\\Bob's files\\x.quf\""), (Tokens{L"C:\\Users\\Bob's files\\x.quf"}));
  EXPECT_EQ(Split(L"-sf C:\\Bob's\\x.quf -cf"), (Tokens{L"-sf", L"C:\\Bob's\\x.quf", L"-cf"}));
  EXPECT_EQ(Split(L"don't 'a b'"), (Tokens{L"don't", L"a b"}));
  EXPECT_EQ(Split(L"a\\'b c"), (Tokens{L"a\\'b", L"c"}));
}

TEST(SplitArguments, OnlyTheOpeningQuoteKindClosesAQuotation) {
  EXPECT_EQ(Split(L"'it\"s' and"), (Tokens{L"it\"s", L"and"}));
  EXPECT_EQ(Split(L"'say \"hi there\"' x"), (Tokens{L"say \"hi there\"", L"x"}));
  EXPECT_EQ(Split(L"\"Bob's \" x"), (Tokens{L"Bob's ", L"x"}));
}

TEST(SplitArguments, AQuotedPathEndingInABackslashEndsAtItsClosingQuote) {
  EXPECT_EQ(Split(L"--restart \"C:\\my dir\\\" -cf"), (Tokens{L"--restart", L"C:\\my dir\\", L"-cf"}));
  EXPECT_EQ(Split(L"'C:\\dir\\'"), (Tokens{L"C:\\dir\\"}));
  EXPECT_EQ(Split(L"-sf \"C:\\dir\\\"\r\n-ds"), (Tokens{L"-sf", L"C:\\dir\\", L"-ds"}));
  // Inside a token the backslash still drops the quote after it.
  EXPECT_EQ(Split(L"\"a\\\"b c\""), (Tokens{L"a\\b c"}));
}

TEST(SplitArguments, BackslashBeforeAnActiveQuoteDropsTheQuote) {
  EXPECT_EQ(Split(L"\\\"x"), (Tokens{L"\\x"}));
  EXPECT_EQ(Split(L"'a\\'b c'"), (Tokens{L"a\\b c"}));  // the quotation goes on
  EXPECT_EQ(Split(L"C:\\dir\\file"), (Tokens{L"C:\\dir\\file"}));
  EXPECT_EQ(Split(L"end\\"), (Tokens{L"end\\"}));
}

TEST(SplitArguments, UnterminatedQuoteKeepsTheRestWithItsOpeningQuote) {
  EXPECT_EQ(Split(L"--restart \"C:\\My Tool\\run.exe --arg"),
            (Tokens{L"--restart", L"\"C:\\My Tool\\run.exe --arg"}));
}

TEST(SplitArguments, DescriptionFileExampleLines) {
  EXPECT_EQ(Split(L"--download 'U/app/tool.exe;C:\\Program Files\\Tool\\tool.exe'\r\n"
                  L"--confirm --restart 'C:\\Program Files\\Tool\\tool.exe'\r\n"
                  L"--downloadpair U/app/readme.txt readme.txt\r\n"),
            (Tokens{L"--download", L"U/app/tool.exe;C:\\Program Files\\Tool\\tool.exe", L"--confirm",
                    L"--restart", L"C:\\Program Files\\Tool\\tool.exe", L"--downloadpair",
                    L"U/app/readme.txt", L"readme.txt"}));
}

TEST(SplitArguments, TokensOver1023CharactersAreLeftOutWhole) {
  const std::wstring longest(kMaxTokenChars, L'a');
  const std::wstring tooLong(kMaxTokenChars + 1, L'b');
  EXPECT_EQ(Split(L"x " + longest + L" y"), (Tokens{L"x", longest, L"y"}));
  EXPECT_EQ(Split(L"x " + tooLong + L" y"), (Tokens{L"x", L"y"}));
  // Quotes count towards the limit: the quoted text itself fits only 1021.
  EXPECT_EQ(Split(L"'" + std::wstring(kMaxTokenChars - 1, L'c') + L"'").size(), 0u);
  EXPECT_EQ(Split(L"'" + std::wstring(kMaxTokenChars - 2, L'c') + L"'"),
            (Tokens{std::wstring(kMaxTokenChars - 2, L'c')}));
  // A huge unterminated quotation neither overruns nor swallows what went before.
  EXPECT_EQ(Split(L"-sl \"" + std::wstring(100000, L'z')), (Tokens{L"-sl"}));
}

// The native C library's UTF-8 locale stands in for code page 932 here; the
// Windows build checks the real "jpn" conversion.
#ifndef _WIN32
class DescriptionText : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr); }
  void TearDown() override { std::setlocale(LC_CTYPE, "C"); }

  static Tokens FromBytes(const std::string& bytes) {
    int count = -1;
    wchar_t** list = SplitDescriptionBytes(bytes.data(), bytes.size(), &count);
    return Collect(list, count);
  }
};

TEST_F(DescriptionText, TextEndsAtTheFirstZeroByte) {
  // "-sl" saved as UTF-16: '-' then a zero byte.
  const std::string utf16("-\0s\0l\0", 6);
  EXPECT_EQ(FromBytes(utf16), (Tokens{L"-"}));
  EXPECT_EQ(FromBytes(std::string("--confirm\0--silent", 18)), (Tokens{L"--confirm"}));
  EXPECT_TRUE(FromBytes(std::string("\0--silent", 9)).empty());
  EXPECT_TRUE(FromBytes("").empty());
}

TEST_F(DescriptionText, Utf8ByteOrderMarkIsDropped) {
  EXPECT_EQ(FromBytes("\xEF\xBB\xBF--silent --confirm"), (Tokens{L"--silent", L"--confirm"}));
  EXPECT_TRUE(FromBytes("\xEF\xBB\xBF").empty());
  // After the mark the text is UTF-8 whatever the locale; bad bytes are kept as U+FFFD.
  EXPECT_EQ(FromBytes("\xEF\xBB\xBF-rs C:\\\xE8\xA1\xA8\xFF"), (Tokens{L"-rs", L"C:\\\u8868\uFFFD"}));
}

TEST_F(DescriptionText, ConversionStopsAtTheFirstBadSequence) {
  EXPECT_EQ(FromBytes("--confirm -sl\xFF --silent"), (Tokens{L"--confirm", L"-sl"}));
  EXPECT_EQ(FromBytes("-cf \xE3\x81"), (Tokens{L"-cf"}));  // cut multibyte character at the end
}

#endif  // _WIN32

}  // namespace
}  // namespace qxu
