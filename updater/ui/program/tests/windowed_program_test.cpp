// QxUpdate.exe with its windows under Wine, driven as a user would: run
// windows that cannot be made, and runs closed while a download stalls.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/download/tests/download_helpers.h"
#include "ui/program/tests/program_runner.h"
#include "ui/lang/resource_ids.h"
#include "ui/mainwindow/win32/main_window.h"
#include "win32/dialogs.h"
#include "win32/files.h"
#include "win32/loopback.h"
#include "win32/processes.h"

using namespace qxtest;

namespace {

using Messages = std::vector<std::wstring>;

const FILETIME kServerTime = FileTimeOf(2024, 8, 1, 12, 0, 0);
constexpr int kCancelButton = 1;
// A cancelled worker that stalls for good holds the process for the
// program's whole wait; the margin covers the start and the clean-up.
constexpr DWORD kRunEndMs = qxu::kWorkerWaitMs + 30000;

struct WindowedRun {
  int exitCode = -1;
  bool downloading = false;  // the run window showed the download under way
  Messages messages;
};

class WindowedProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ServersRunning()) << "run through with_servers.sh";
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"updater-program-test\\qxupdate-offline.exe").c_str(), Exe().c_str(),
                          FALSE));
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

  // Starts the program, waits until its progress window shows the download
  // under way, hands the window to act, and answers the message boxes until
  // the process ends.
  WindowedRun RunAndAct(const std::wstring& arguments, const std::function<void(HWND)>& act) {
    WindowedRun run;
    ChildProcess child(Exe(), arguments, dir.path());
    if (!child.started()) return run;
    DialogWatcher watcher(Scope::Process(child.id()), DialogWatcher::MessageBoxesTitled(L"QxUpdate"));
    if (HWND window = WaitForDialog(Scope::Process(child.id()))) {
      run.downloading = PumpUntil([&] { return ItemText(window, QXU_PROGRESS_STATUS) == L"ダウンロード中"; }, 20000);
      if (run.downloading) act(window);
    }
    run.exitCode = child.Wait(kRunEndMs);
    watcher.Stop();
    for (const SeenDialog& seen : watcher.Seen())
      if (seen.messageBox && seen.caption == L"QxUpdate") run.messages.push_back(seen.text);
    return run;
  }
  // A download from the server that stalls after its first bytes, into
  // a.bin, acted on once under way.
  WindowedRun StalledDownload(const wchar_t* name, int seed, const std::function<void(HWND)>& act) {
    ServedFile a(name, PatternBytes(64000, seed), &kServerTime);
    return RunAndAct(Item(HttpUrl(L"stall/" + a.name()), dir / L"a.bin"), act);
  }

  TempFolder dir;
};

TEST_F(WindowedProgram, RunWindowThatCannotBeMadeEndsTheProcessAsAFailedRun) {
  ServedFile a(L"no-window.bin", PatternBytes(2000, 1), &kServerTime);
  // A language library with the icons but without templates 102 and 202.
  DeleteFileW((dir / L"QxUpdate.Jpn.dll").c_str());
  UseLibrary(ProgramFolder() + L"updater-program-test\\QxUpdateResource.dll", L"QxUpdateResource.dll");

  const ProgramRun progress = RunProgram(Exe(), Item(a.url(), dir / L"a.bin"), dir.path(), 60000);
  EXPECT_EQ(progress.exitCode, 0u);
  EXPECT_EQ(progress.messages, Messages{L"アップデートに失敗しました"});
  // A confirm run reports nothing when it updated nothing.
  const ProgramRun confirm = RunProgram(Exe(), L"-cf " + Item(a.url(), dir / L"a.bin"), dir.path(), 60000);
  EXPECT_EQ(confirm.exitCode, 0u);
  EXPECT_EQ(confirm.messages, Messages{});
  EXPECT_FALSE(FileExists(dir / L"a.bin"));
}

// Escape and the close box stop a run as its cancel button does.
TEST_F(WindowedProgram, EscapeOrTheCloseBoxDuringADownloadCancelsTheRun) {
  const struct {
    const wchar_t* name;
    std::function<void(HWND)> act;
  } ways[] = {
      {L"escape.bin",
       [](HWND window) {
         PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
         PostMessageW(window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
       }},
      {L"close-box.bin", [](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  int seed = 2;
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    const WindowedRun run = StalledDownload(way.name, seed++, way.act);
    ASSERT_TRUE(run.downloading);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.messages, Messages{});
    EXPECT_FALSE(FileExists(dir / L"a.bin"));
  }
}

// The worker never finishes: the process ends at the wait limit while the
// transfer still writes.
TEST_F(WindowedProgram, CancelledRunEndedAtTheWaitLimitLeavesNoPartFile) {
  const WindowedRun run = StalledDownload(L"part.bin", 4, [](HWND window) { Click(window, kCancelButton); });
  ASSERT_TRUE(run.downloading);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.messages, Messages{});
  EXPECT_FALSE(FileExists(dir / L"a.bin.qxpart"));
  EXPECT_FALSE(FileExists(dir / L"a.bin"));
}

}  // namespace
