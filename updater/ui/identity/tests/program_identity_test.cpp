// The identity record on the real platform: paths, titles and the help message.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ui/identity/win32/help_display.h"
#include "ui/identity/win32/program_identity.h"

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

// Answers the message boxes that the calling thread shows, recording them.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(DWORD thread) : thread_(thread), worker_([this] { Run(); }) {}
  ~MessageBoxWatcher() { Stop(); }
  // Ends the watch; the records are complete afterwards.
  void Stop() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
  }
  std::vector<std::wstring> texts, captions;

 private:
  void Run() {
    while (!stop_) {
      EnumThreadWindows(thread_, &MessageBoxWatcher::Visit, reinterpret_cast<LPARAM>(this));
      Sleep(20);
    }
  }
  static BOOL CALLBACK Visit(HWND window, LPARAM self) {
    auto* watcher = reinterpret_cast<MessageBoxWatcher*>(self);
    wchar_t name[32] = L"";
    GetClassNameW(window, name, 32);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    wchar_t caption[128] = L"", text[256] = L"";
    GetWindowTextW(window, caption, 128);
    GetDlgItemTextW(window, 0xFFFF, text, 256);
    watcher->captions.emplace_back(caption);
    watcher->texts.emplace_back(text);
    SendMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
  }
  DWORD thread_;
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

TEST(ShowHelp, MissingHelpFileIsReportedEveryTimeWithoutStartingHelp) {
  IdentityOwner identity(CreateIdentity());
  SetQxUpdateIdentity(identity.get());
  const std::wstring missing = std::wstring(identity->programFolder) + L"QxUpdate.chm";
  ASSERT_EQ(GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
  {
    MessageBoxWatcher watcher(GetCurrentThreadId());
    EXPECT_EQ(ShowHelp(identity.get(), nullptr, missing.c_str(), L"_RESOURCE/Help-main.html"), 1);
    EXPECT_EQ(ShowHelp(identity.get(), nullptr, missing.c_str(), nullptr), 1);
    watcher.Stop();
    ASSERT_EQ(watcher.texts.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(watcher.texts[i], L"Cannot find help file.");
      EXPECT_EQ(watcher.captions[i], L"HtmlHelp Error");
    }
  }
  EXPECT_EQ(identity->helpStarted, 0);
  // A folder of that name is no help file either.
  {
    MessageBoxWatcher watcher(GetCurrentThreadId());
    ShowHelp(identity.get(), nullptr, identity->programFolder, nullptr);
    watcher.Stop();
    EXPECT_EQ(watcher.texts.size(), 1u);
  }
  EXPECT_EQ(identity->helpStarted, 0);
}

TEST(ShowHelp, ExistingFileStartsTheHelpSystemOnce) {
  IdentityOwner identity(CreateIdentity());
  SetQxUpdateIdentity(identity.get());
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring file = std::wstring(temp) + L"qxu_help_" + std::to_wstring(GetCurrentProcessId()) + L".chm";
  HANDLE created = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  CloseHandle(created);
  MessageBoxWatcher watcher(GetCurrentThreadId());
  EXPECT_EQ(ShowHelp(identity.get(), nullptr, file.c_str(), L"_RESOURCE/Help-main.html"), 1);
  EXPECT_EQ(identity->helpStarted, 1);
  EXPECT_EQ(ShowHelp(identity.get(), nullptr, file.c_str(), nullptr), 1);
  EXPECT_EQ(identity->helpStarted, 1);
  watcher.Stop();
  EXPECT_TRUE(watcher.texts.empty());
  identity.reset();  // ends the help system
  DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace qxu
