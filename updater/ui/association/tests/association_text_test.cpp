#include "ui/association/core/association_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qxu {
namespace {

TEST(AssociationText, KeyPathsLieUnderTheUsersClasses) {
  wchar_t out[kAssociationTextChars];
  ASSERT_TRUE(FormatClassesKeyPath(L".quf", out, kAssociationTextChars));
  EXPECT_EQ(std::wstring(L"Software\\Classes\\.quf"), out);
  EXPECT_FALSE(FormatClassesKeyPath(L"", out, kAssociationTextChars));
  EXPECT_FALSE(FormatClassesKeyPath(nullptr, out, kAssociationTextChars));
}

TEST(AssociationText, IconValueIsPathCommaIndex) {
  wchar_t out[kAssociationTextChars];
  ASSERT_TRUE(FormatIconValue(L"C:\\Tools\\QxUpdate.exe", 1, out, kAssociationTextChars));
  EXPECT_EQ(std::wstring(L"C:\\Tools\\QxUpdate.exe,1"), out);
  ASSERT_TRUE(FormatIconValue(L"a.exe", -3, out, kAssociationTextChars));
  EXPECT_EQ(std::wstring(L"a.exe,-3"), out);
}

TEST(AssociationText, CommandForms) {
  wchar_t out[kAssociationTextChars];
  ASSERT_TRUE(FormatCommandValue(L"C:\\Program Files\\QxUpdate.exe", true, out, kAssociationTextChars));
  EXPECT_EQ(std::wstring(L"\"C:\\Program Files\\QxUpdate.exe\" \"%1\""), out);
  // A quoted command is a whole command line, options included.
  ASSERT_TRUE(FormatCommandValue(L"\"C:\\Q.exe\" -nc \"%1\"", true, out, kAssociationTextChars));
  EXPECT_EQ(std::wstring(L"\"C:\\Q.exe\" -nc \"%1\""), out);
  // Other platforms always get the program-path form.
  ASSERT_TRUE(FormatCommandValue(L"C:\\PROGRA~1\\QXUPDA~1.EXE", false, out, kAssociationTextChars));
  EXPECT_EQ(std::wstring(L"\"C:\\PROGRA~1\\QXUPDA~1.EXE\" \"%1\""), out);
}

TEST(AssociationText, TextsThatDoNotFitAreRefusedNotCut) {
  wchar_t out[kAssociationTextChars];
  out[0] = L'x';
  // "Software\Classes\" is 17 characters: 1006 more fill the buffer exactly.
  std::wstring name(kAssociationTextChars - 18, L'n');
  ASSERT_TRUE(FormatClassesKeyPath(name.c_str(), out, kAssociationTextChars));
  EXPECT_EQ(kAssociationTextChars - 1, std::wstring(out).size());
  name += L'n';
  EXPECT_FALSE(FormatClassesKeyPath(name.c_str(), out, kAssociationTextChars));

  // Quotes, blank and "%1" add 7 characters to the path.
  std::wstring path(kAssociationTextChars - 8, L'p');
  EXPECT_TRUE(FormatCommandValue(path.c_str(), true, out, kAssociationTextChars));
  path += L'p';
  EXPECT_FALSE(FormatCommandValue(path.c_str(), true, out, kAssociationTextChars));

  EXPECT_TRUE(CopyAssociationText(nullptr, out, 1));
  EXPECT_EQ(L'\0', out[0]);
  EXPECT_FALSE(CopyAssociationText(L"ab", out, 2));
  EXPECT_FALSE(CopyAssociationText(L"ab", nullptr, 10));
}

}  // namespace
}  // namespace qxu
