#include <gtest/gtest.h>

#include <cwchar>

#include "engine/support/core/owned_string.h"
#include "engine/support/core/text_compare.h"

namespace qxu {
namespace {

TEST(OwnedString, EmptyOrMissingValueIsStoredAsNone) {
  EXPECT_EQ(DupString(nullptr), nullptr);
  EXPECT_EQ(DupString(L""), nullptr);
  EXPECT_EQ(AllocChars(0), nullptr);
  FreeString(nullptr);  // allowed

  OwnedString copy(DupString(L"QxUpdate"));
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy.get(), L"QxUpdate");
}

TEST(OwnedString, AllocCharsIsZeroedWithRoomForTheTerminator) {
  OwnedString block(AllocChars(5));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(block.get()[i], 0) << i;
  block.get()[4] = L'x';  // last usable character; index 5 stays the terminator
  EXPECT_EQ(std::wcslen(block.get()), 0u);
}

TEST(OwnedString, AllocCharsRefusesCountsThatOverflow) {
  EXPECT_EQ(AllocChars(static_cast<std::size_t>(-1)), nullptr);
  EXPECT_EQ(AllocChars(static_cast<std::size_t>(-1) / sizeof(wchar_t)), nullptr);
}

TEST(OwnedString, ReplaceStringFreesTheOldAndAcceptsItsOwnTail) {
  wchar_t* value = DupString(L"alpha beta");
  value = ReplaceString(value, value + 6);  // new value points into the old one
  ASSERT_NE(value, nullptr);
  EXPECT_STREQ(value, L"beta");
  value = ReplaceString(value, L"");
  EXPECT_EQ(value, nullptr);
  value = ReplaceString(value, L"gamma");
  EXPECT_STREQ(value, L"gamma");
  FreeString(value);
}

TEST(StringList, FreeStringListFreesEveryEntry) {
  wchar_t** list = AllocStringList(3);
  ASSERT_NE(list, nullptr);
  list[0] = DupString(L"a");
  list[1] = DupString(L"b");
  EXPECT_EQ(list[2], nullptr);
  EXPECT_EQ(list[3], nullptr);
  FreeStringList(list);  // the sanitizer build reports any leak
  FreeStringList(nullptr);
}

TEST(SameText, WholeLengthWithOptionalCaseFolding) {
  EXPECT_EQ(SameText(L"A", L"a", 1), 1);
  EXPECT_EQ(SameText(L"A", L"a", 0), 0);
  EXPECT_EQ(SameText(L"QxUpdate.exe", L"qxupdate.EXE", 1), 1);
  EXPECT_EQ(SameText(L"abc", L"abcd", 1), 0);
  EXPECT_EQ(SameText(L"abcd", L"abc", 0), 0);
  EXPECT_EQ(SameText(nullptr, nullptr, 0), 1);
  EXPECT_EQ(SameText(nullptr, L"", 0), 1);
  EXPECT_EQ(SameText(L"", nullptr, 1), 1);
  EXPECT_EQ(SameText(nullptr, L"x", 1), 0);
}

TEST(NextName, WalksADoubleZeroTerminatedList) {
  static const wchar_t kList[] = L"QxUpdate.exe\0QxUpdate.Jpn.dll\0readme.txt\0";
  const wchar_t* name = kList;
  EXPECT_STREQ(name, L"QxUpdate.exe");
  name = NextName(name);
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, L"QxUpdate.Jpn.dll");
  name = NextName(name);
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, L"readme.txt");
  EXPECT_EQ(NextName(name), nullptr);
}

TEST(NextName, EndOfListAndMissingPositionGiveNone) {
  static const wchar_t kEmpty[] = L"\0";
  EXPECT_EQ(NextName(kEmpty), nullptr);  // must not step past the closing zero
  EXPECT_EQ(NextName(nullptr), nullptr);
}

}  // namespace
}  // namespace qxu
