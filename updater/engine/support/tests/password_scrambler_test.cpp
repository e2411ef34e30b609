#include <gtest/gtest.h>

#include <cwchar>
#include <set>
#include <string>

#include "engine/support/core/password_scrambler.h"

namespace qxu {
namespace {

std::wstring Scramble(const wchar_t* plain) {
  wchar_t out[4200] = L"";
  EXPECT_EQ(ScramblePassword(plain, out, 4200), 1) << plain;
  return out;
}

std::wstring Unscramble(const std::wstring& scrambled, int expect = 1) {
  wchar_t out[4200] = L"untouched";
  EXPECT_EQ(UnscramblePassword(scrambled.c_str(), out, 4200), expect) << scrambled;
  return out;
}

TEST(PasswordScrambler, KeyIsAValidAlphabetAndTwoPermutations) {
  std::set<wchar_t> letters(kPasswordAlphabet, kPasswordAlphabet + 52);
  EXPECT_EQ(letters.size(), 52u);
  for (wchar_t c : letters) EXPECT_TRUE((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'));
  EXPECT_EQ(std::set<unsigned short>(kPasswordPermutation1, kPasswordPermutation1 + 8).size(), 8u);
  EXPECT_EQ(std::set<unsigned short>(kPasswordPermutation2, kPasswordPermutation2 + 8).size(), 8u);
  EXPECT_LT(*std::set<unsigned short>(kPasswordPermutation1, kPasswordPermutation1 + 8).rbegin(), 8);
  EXPECT_LT(*std::set<unsigned short>(kPasswordPermutation2, kPasswordPermutation2 + 8).rbegin(), 8);
}

// Stored passwords must stay readable across builds: these vectors were
// worked out by hand from the alphabet and permutations, outside this code.
TEST(PasswordScrambler, FixedVectorsOfTheStoredFormat) {
  EXPECT_EQ(Scramble(L"Secret12"), L"4892JKiQ9771izhi");
  EXPECT_EQ(Scramble(L"proxy-pass!"), L"3528gHKg9090sLnL0030ZZpZ0013ZpaZ");
  EXPECT_EQ(Scramble(L"~"), L"0000ZZZZ0004ZEZZ");
  EXPECT_EQ(Unscramble(L"3528gHKg9090sLnL0030ZZpZ0013ZpaZ"), L"proxy-pass!");
}

TEST(PasswordScrambler, RoundTripOverEveryAllowedCharacterAndLength) {
  std::wstring all;
  for (wchar_t c = 33; c <= 126; ++c) all += c;
  for (std::size_t length = 1; length <= all.size(); ++length) {
    const std::wstring plain = all.substr(all.size() - length);
    const std::wstring scrambled = Scramble(plain.c_str());
    EXPECT_EQ(scrambled.size() % 16, 0u);
    for (wchar_t c : scrambled)
      EXPECT_TRUE(std::iswalnum(static_cast<std::wint_t>(c)) && c < 128) << scrambled;
    EXPECT_EQ(Unscramble(scrambled), plain);
  }
}

TEST(PasswordScrambler, LengthsDoubleThePaddedText) {
  EXPECT_EQ(Scramble(L"12345678").size(), 16u);
  EXPECT_EQ(Scramble(L"123456789").size(), 32u);
  EXPECT_EQ(Scramble(L"x").size(), 16u);
  EXPECT_EQ(ScrambledBufferSize(9), 33u);
}

TEST(PasswordScrambler, RefusesSpacesAndCharactersOutside33To126) {
  for (const wchar_t* bad : {L"with space", L"tab\there", L"\x7F", L"caf\xE9", L"\x3042pw", L" "}) {
    wchar_t out[64] = L"untouched";
    EXPECT_EQ(ScramblePassword(bad, out, 64), 0);
    EXPECT_STREQ(out, L"untouched");
  }
}

TEST(PasswordScrambler, EmptyPasswordOrMissingBufferGivesZero) {
  wchar_t out[8] = L"old";
  EXPECT_EQ(ScramblePassword(L"", out, 8), 0);
  EXPECT_STREQ(out, L"");
  EXPECT_EQ(ScramblePassword(nullptr, out, 8), 0);
  EXPECT_EQ(ScramblePassword(L"pw", nullptr, 8), 0);
  EXPECT_EQ(UnscramblePassword(L"0000ZZZZ0004ZEZZ", nullptr, 8), 0);
}

TEST(PasswordScrambler, BufferTooSmallIsRefusedNotOverrun) {
  wchar_t out[17] = L"untouched";
  EXPECT_EQ(ScramblePassword(L"123456789", out, 17), 0);  // needs 33
  EXPECT_STREQ(out, L"untouched");
  EXPECT_EQ(ScramblePassword(L"12345678", out, 17), 1);
  wchar_t small[4] = L"abc";
  EXPECT_EQ(UnscramblePassword(L"0000ZZZZ0004ZEZZ", small, 4), 0);  // needs 9
  EXPECT_STREQ(small, L"abc");
}

TEST(PasswordScrambler, TamperedTextFails) {
  std::wstring scrambled = Scramble(L"Secret12");
  for (std::size_t i = 0; i < scrambled.size(); ++i) {
    std::wstring tampered = scrambled;
    tampered[i] = std::iswdigit(static_cast<std::wint_t>(tampered[i])) ? L'x' : L'7';
    // A digit where a letter belongs, or the reverse, matches no code.
    Unscramble(tampered, 0);
  }
  Unscramble(scrambled.substr(0, 15), 0);  // odd length
  Unscramble(L"0Z0Z0Z0Z!!", 0);
}

TEST(PasswordScrambler, MissingAndEmptyTextsAreAcceptedAsNothing) {
  wchar_t out[8] = L"keep";
  EXPECT_EQ(UnscramblePassword(nullptr, out, 8), 1);
  EXPECT_STREQ(out, L"keep");
  EXPECT_EQ(UnscramblePassword(L"", out, 8), 1);
  EXPECT_STREQ(out, L"");
}

}  // namespace
}  // namespace qxu
