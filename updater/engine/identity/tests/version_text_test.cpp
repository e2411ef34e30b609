#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "engine/identity/core/version_text.h"

namespace qxu {
namespace {

std::wstring Version(unsigned long version, long minor, long build) {
  wchar_t text[64] = L"";
  const std::size_t length = FormatVersionText(version, minor, build, text, 64);
  EXPECT_EQ(length, std::wcslen(text));
  return text;
}

TEST(VersionText, FourFormsByMinorAndBuildNumber) {
  EXPECT_EQ(Version(110, 1, 0), L"Version 1.10.01");
  EXPECT_EQ(Version(100, 0, 0), L"Version 1.00");
  EXPECT_EQ(Version(123, 0, 7), L"Version 1.23 b7");
  EXPECT_EQ(Version(205, 12, 3), L"Version 2.05.12 b3");
  EXPECT_EQ(Version(4294967295ul, 0, 0), L"Version 42949672.95");  // taken as unsigned
}

TEST(VersionText, TooSmallBufferGivesZero) {
  wchar_t text[16] = L"old";
  EXPECT_EQ(FormatVersionText(110, 1, 0, text, 15), 0u);  // needs 16 with the terminator
  EXPECT_STREQ(text, L"old");
  EXPECT_EQ(FormatVersionText(110, 1, 0, text, 16), 15u);
  EXPECT_STREQ(text, L"Version 1.10.01");
}

struct PathParts {
  int ok;
  std::wstring folder, base;
};

PathParts Split(const wchar_t* path, std::size_t size = 64) {
  wchar_t folder[64] = L"", base[64] = L"";
  PathParts parts;
  parts.ok = SplitProgramPath(path, folder, size, base, size);
  parts.folder = folder;
  parts.base = base;
  return parts;
}

TEST(ProgramPath, FolderKeepsItsSeparatorAndBaseNameLosesTheExtension) {
  PathParts p = Split(L"C:\\Tools\\QxUpdate.exe");
  EXPECT_EQ(p.ok, 1);
  EXPECT_EQ(p.folder, L"C:\\Tools\\");
  EXPECT_EQ(p.base, L"QxUpdate");
  EXPECT_EQ(Split(L"C:\\Tools\\Tools.exe").base, L"Tools");
  EXPECT_EQ(Split(L"C:\\a.b\\QxUpdate.Test.exe").base, L"QxUpdate.Test");
  EXPECT_EQ(Split(L"C:\\a.b\\NoExtension").base, L"NoExtension");
  p = Split(L"D:prog.exe");
  EXPECT_EQ(p.folder, L"D:");
  EXPECT_EQ(p.base, L"prog");
  EXPECT_EQ(Split(L"\\\\server\\share\\x.exe").folder, L"\\\\server\\share\\");
}

TEST(ProgramPath, PartsThatDoNotFitAreRefused) {
  EXPECT_EQ(Split(L"C:\\Tools\\QxUpdate.exe", 9).ok, 0);
  EXPECT_EQ(Split(L"C:\\Tools\\QxUpdate.exe", 10).ok, 1);
  EXPECT_EQ(Split(nullptr).ok, 0);
}

}  // namespace
}  // namespace qxu
