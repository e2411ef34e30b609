// The identity record on the real platform: paths and titles.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/identity/win32/program_identity.h"
#include "win32/dialogs.h"
#include "win32/files.h"

namespace qxu {
namespace {

std::wstring ModulePath() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

TEST(ProgramIdentity, PathsOfTheRunningProgram) {
  IdentityOwner identity(CreateIdentity());
  ASSERT_NE(identity, nullptr);
  const std::wstring path = ModulePath();
  EXPECT_EQ(identity->programPath, path);
  const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
  EXPECT_EQ(identity->programFolder, folder);
  EXPECT_STREQ(identity->baseName, L"updater_identity_win32_test");
  wchar_t current[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_STREQ(identity->startFolder, current);
  ASSERT_NE(identity->appDataFolder, nullptr);
  EXPECT_NE(GetFileAttributesW(identity->appDataFolder), INVALID_FILE_ATTRIBUTES);
  EXPECT_GE(identity->osVersion.dwMajorVersion, 5u);
  EXPECT_EQ(identity->programName, nullptr);  // until SetIdentity
  EXPECT_EQ(identity->helpStarted, 0);
}

TEST(ProgramIdentity, SetIdentityCopiesTheValuesAndDefaultsTheWebAddress) {
  IdentityOwner identity(CreateIdentity());
  ASSERT_NE(identity, nullptr);
  wchar_t name[] = L"QxUpdate";
  SetQxUpdateIdentity(identity.get());
  SetIdentity(identity.get(), name, kProgramDescription, kSeriesKey, 110, 1, 0, kCopyrightHolder,
              kCopyrightYears, kReleaseDate, nullptr);
  name[0] = L'X';  // the record holds its own copy
  EXPECT_STREQ(identity->programName, L"QxUpdate");
  EXPECT_STREQ(identity->description, L"アップデートソフト QxUpdate");
  EXPECT_STREQ(identity->seriesKey, L"QxSeries QxUpdate");
  EXPECT_STREQ(identity->releaseDate, L"11/06/2013");
  EXPECT_STREQ(identity->webAddress, kDefaultWebAddress);
  SetIdentity(identity.get(), L"QxUpdate", L"d", L"s", 100, 0, 0, L"h", L"y", L"r", L"https://other.example/");
  EXPECT_STREQ(identity->webAddress, L"https://other.example/");
  EXPECT_STREQ(GetVersionText(identity.get()), L"Version 1.00");
}

TEST(ProgramIdentity, VersionTextTitleAndCaption) {
  IdentityOwner identity(CreateIdentity());
  SetQxUpdateIdentity(identity.get());
  EXPECT_STREQ(GetVersionText(identity.get()), L"Version 1.10.01");
  identity->buildNumber = 7;
  identity->minorNumber = 0;
  identity->versionNumber = 123;
  EXPECT_STREQ(GetVersionText(identity.get()), L"Version 1.23 b7");
  identity->buildNumber = 0;
  identity->minorNumber = 1;
  identity->versionNumber = 110;

  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SetProgramTitle(identity.get(), window), 1);
  wchar_t title[128];
  GetWindowTextW(window, title, 128);
  EXPECT_STREQ(title, L"QxUpdate Version 1.10.01");
  DestroyWindow(window);

  EXPECT_STREQ(MessageCaption(identity.get()), L"QxUpdate");
  EXPECT_STREQ(MessageCaption(nullptr), L"QxSeries");
}

}  // namespace
}  // namespace qxu
