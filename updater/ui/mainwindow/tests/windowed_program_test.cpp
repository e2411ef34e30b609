// QxUpdate.exe with its windows under Wine, driven as a user would: run
// windows that cannot be made.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "download_helpers.h"
#include "program_runner.h"
#include "win32/dialogs.h"
#include "win32/files.h"
#include "win32/loopback.h"

using namespace qxtest;

namespace {

using Messages = std::vector<std::wstring>;

const FILETIME kServerTime = FileTimeOf(2024, 8, 1, 12, 0, 0);

std::wstring UserName() {
  wchar_t name[256] = {};
  DWORD n = 256;
  GetUserNameW(name, &n);
  return name;
}

class WindowedProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ServersRunning()) << "run through with_servers.sh";
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"updater-windows-test\\QxUpdate.exe").c_str(), Exe().c_str(), FALSE));
    UseLibrary(ProgramFolder() + L"QxUpdate.Jpn.dll", L"QxUpdate.Jpn.dll");
    // An existing setting file: no first-run questions, no self-update.
    WriteBytes(dir / (L"QxUpdate-" + UserName() + L".ini"),
               "[QxUpdate]\r\nLastCheck=2099/01/01 00:00:00\r\nAutoUpdate=0\r\nInformation=1\r\n");
  }

  void UseLibrary(const std::wstring& from, const wchar_t* name) {
    ASSERT_TRUE(CopyFileW(from.c_str(), (dir / name).c_str(), FALSE));
  }
  std::wstring Exe() const { return dir / L"QxUpdate.exe"; }
  std::wstring Item(const std::wstring& url, const std::wstring& local) const { return L"-dl " + url + L";" + local; }

  TempFolder dir;
};

TEST_F(WindowedProgram, RunWindowThatCannotBeMadeEndsTheProcessAsAFailedRun) {
  ServedFile a(L"no-window.bin", PatternBytes(2000, 1), &kServerTime);
  // A language library with the icons but without templates 102 and 202.
  DeleteFileW((dir / L"QxUpdate.Jpn.dll").c_str());
  UseLibrary(ProgramFolder() + L"updater-engine-test\\QxUpdateResource.dll", L"QxUpdateResource.dll");

  const ProgramRun progress = RunProgram(Exe(), Item(a.url(), dir / L"a.bin"), dir.path(), 60000);
  EXPECT_EQ(progress.exitCode, 0u);
  EXPECT_EQ(progress.messages, Messages{L"アップデートに失敗しました"});
  // A confirm run reports nothing when it updated nothing.
  const ProgramRun confirm = RunProgram(Exe(), L"-cf " + Item(a.url(), dir / L"a.bin"), dir.path(), 60000);
  EXPECT_EQ(confirm.exitCode, 0u);
  EXPECT_EQ(confirm.messages, Messages{});
  EXPECT_FALSE(FileExists(dir / L"a.bin"));
}

}  // namespace
