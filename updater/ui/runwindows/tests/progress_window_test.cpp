// The progress window and the main window, driven for real under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/workers/win32/run_shared.h"
#include "engine/workers/win32/worker_threads.h"
#include "scripted_passes.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/runwindows/win32/run_window_common.h"
#include "window_test_support.h"

namespace qxu::test {
namespace {

DWORD WINAPI PressCancelWhenReported(LPVOID event) {
  WaitForSingleObject(event, 20000);
  if (HWND w = Shared().runWindow) PostMessageW(GetDlgItem(w, 1), BM_CLICK, 0, 0);
  return 0;
}

DWORD WINAPI FailedRun(LPVOID) {
  RunState& run = *Shared().run;
  run.busy = 1;
  run.allSucceeded = 0;  // a failed download
  run.updatedCount = 0;
  run.busy = 0;
  SendRunCommand(kCommandEnd);
  return 0;
}

DWORD WINAPI EmptyRun(LPVOID) {
  Shared().run->busy = 0;
  SendRunCommand(kCommandEnd);
  return 0;
}

class ProgressWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PrepareWindows(L"qxu_progress_test.ini"));
    ResetScript();
    Binding().runItems = ScriptedRunItems;
    SetString(&State().commandLine, L"-dl http://127.0.0.1/a.bin");
    State().items = {L"a.bin"};
    State().begin = [] { OpenRunWindow(State().confirm, State().silent); };
  }
  void TearDown() override { CloseWindowsAtExit(); }
};

TEST_F(ProgressWindowTest, RunShowsStatusBarsTrayAndResultThenSavesGeometry) {
  State().settings.downloadWindowX = 210;
  State().settings.downloadWindowY = 160;
  State().settings.downloadWindowWidth = 520;
  State().settings.downloadWindowHeight = 170;
  Watcher watcher;
  ASSERT_TRUE(RunMainWindow());
  Script& s = CurrentScript();

  EXPECT_EQ(Narrow(s.seen.status), "a.bin をダウンロードしています");
  EXPECT_EQ(s.seen.bar, 375);  // 37.46 %
  EXPECT_TRUE(s.seen.windowVisible);
  EXPECT_EQ(s.seen.windowRect.left, 210);
  EXPECT_EQ(s.seen.windowRect.top, 160);
  EXPECT_EQ(s.seen.windowRect.right - s.seen.windowRect.left, 520);
  EXPECT_EQ(s.seen.windowRect.bottom - s.seen.windowRect.top, 170);

  // Tray: added, tip with the activity, frames 12..15 in turn while busy.
  EXPECT_TRUE(s.seen.trayAdded);
  EXPECT_EQ(Narrow(s.seen.tip), "QxUpdate\r\nダウンロード中");
  RunIcons& icons = Shared().icons;
  std::set<HICON> frames;
  for (HICON icon : s.seen.trayIcons) {
    bool isFrame = false;
    for (auto& f : icons.frames) isFrame = isFrame || icon == f.get();
    EXPECT_TRUE(isFrame);
    frames.insert(icon);
  }
  EXPECT_GE(frames.size(), 2u);
  // Back to the resting icon once the worker ended; the tip keeps the text.
  EXPECT_EQ(Shared().tray.Icon(), icons.small.get());

  auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u) << watcher.Describe();
  EXPECT_EQ(Narrow(boxes[0].caption), "QxUpdate");
  EXPECT_EQ(Narrow(boxes[0].text), "1個のファイルをアップデートしました");

  // Geometry written at close, with the options as the file had them.
  EXPECT_EQ(IniValue(L"DownloadWindowX"), L"210");
  EXPECT_EQ(IniValue(L"DownloadWindowY"), L"160");
  EXPECT_EQ(IniValue(L"DownloadWindowWidth"), L"520");
  EXPECT_EQ(IniValue(L"DownloadWindowHeight"), L"170");
  EXPECT_NE(GetFileAttributesW(State().iniPath.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(Shared().runWindow.load(), nullptr);
  EXPECT_EQ(Shared().mainWindow.load(), nullptr);
  CloseWindowsAtExit();
  EXPECT_FALSE(Shared().tray.Added());
}

HRESULT NoTaskbar(void**) { return REGDB_E_CLASSNOTREG; }

TEST_F(ProgressWindowTest, RunGoesOnWithoutTaskbarObject) {
  Shared().taskbar.SetFactory(NoTaskbar);
  Watcher watcher;
  ASSERT_TRUE(RunMainWindow());
  Shared().taskbar.SetFactory(TaskbarProgress::CreatePlatformObject);
  EXPECT_FALSE(CurrentScript().seen.taskbar);
  EXPECT_EQ(CurrentScript().seen.bar, 375);
  EXPECT_EQ(CurrentScript().downloaded, (std::vector<int>{0}));
  EXPECT_EQ(watcher.Boxes().size(), 1u) << watcher.Describe();
}

TEST_F(ProgressWindowTest, TaskbarObjectUsedWithComReleasedAtClose) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  Watcher watcher;
  ASSERT_TRUE(RunMainWindow());
  EXPECT_TRUE(CurrentScript().seen.taskbar);
  EXPECT_EQ(CurrentScript().seen.bar, 375);
  EXPECT_FALSE(Shared().taskbar.Exists());
  EXPECT_EQ(watcher.Boxes().size(), 1u) << watcher.Describe();
  CoUninitialize();
}

TEST_F(ProgressWindowTest, SmallStoredSizeKeepsTemplateSizeCentred) {
  State().settings.downloadWindowX = 3;
  State().settings.downloadWindowY = 3;
  State().settings.downloadWindowWidth = 4;
  State().settings.downloadWindowHeight = 600;
  Watcher watcher;
  ASSERT_TRUE(RunMainWindow());
  RECT r = CurrentScript().seen.windowRect;
  EXPECT_GT(r.right - r.left, 100);
  EXPECT_NE(r.left, 3);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR(r.left, (work.right - (r.right - r.left)) / 2, 1);
}

TEST_F(ProgressWindowTest, CancelReturnsAtOnceNoResultRestartStillOpened) {
  std::wstring record = State().folder / L"qxu_restart_cancel.txt";
  DeleteFileW(record.c_str());
  SetString(&State().restartProgram, (ProgramFolder() + L"updater_restart_probe.exe").c_str());
  SetString(&State().restartArguments, (L"\"" + record + L"\" after-cancel").c_str());
  CurrentScript().waitForCancel = true;
  HANDLE reported = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CurrentScript().reported = reported;
  HANDLE presser = CreateThread(nullptr, 0, PressCancelWhenReported, reported, 0, nullptr);
  Watcher watcher;
  ASSERT_TRUE(RunMainWindow());
  WaitForSingleObject(presser, INFINITE);
  CloseHandle(presser);
  CloseHandle(reported);

  EXPECT_EQ(State().run.updatedCount, -1);
  EXPECT_TRUE(watcher.Boxes().empty()) << watcher.Describe();
  EXPECT_TRUE(CurrentScript().uiGoneDuringTransfer);
  EXPECT_TRUE(CurrentScript().finished);  // the loop waited for the worker
  auto lines = ProbeLines(record, 15000);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("after-cancel"), std::string::npos);
  DeleteFileW(record.c_str());
}

TEST_F(ProgressWindowTest, NoRestartWhenNothingUpdatedButFailureStillReported) {
  std::wstring record = State().folder / L"qxu_restart_none.txt";
  DeleteFileW(record.c_str());
  SetString(&State().restartProgram, (ProgramFolder() + L"updater_restart_probe.exe").c_str());
  SetString(&State().restartArguments, (L"\"" + record + L"\"").c_str());
  State().noRestart = 1;
  State().silent = 1;
  State().information = 0;
  State().items.clear();  // nothing to do: nothing updated
  Binding().runItems = FailedRun;
  Watcher watcher;
  ASSERT_TRUE(RunMainWindow());
  auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u) << watcher.Describe();
  EXPECT_EQ(Narrow(boxes[0].text), "アップデートに失敗しました");
  EXPECT_TRUE(ProbeLines(record, 3000).empty());
  // Silent: geometry not taken from the hidden window.
  EXPECT_EQ(IniValue(L"DownloadWindowWidth"), L"0");
}

TEST_F(ProgressWindowTest, OneRunsOverridesAreNotWrittenBack) {
  // The file's values, as the main window found them before the command line.
  State().information = 1;
  State().proxyUserUse = 0;
  State().begin = [] {
    // What "--silent -pu bob -pw secret" does to the record for this run.
    State().silent = 1;
    State().information = 0;
    State().proxyUserUse = 1;
    SetString(&State().proxyUser, L"bob");
    OpenRunWindow(0, 1);
  };
  State().items.clear();
  Binding().runItems = EmptyRun;
  Watcher watcher;
  ASSERT_TRUE(RunMainWindow());
  EXPECT_EQ(IniValue(L"Information"), L"1");
  EXPECT_EQ(IniValue(L"ProxyUserUse"), L"0");
  EXPECT_EQ(IniValue(L"ProxyUserName"), L"<none>");
}

TEST_F(ProgressWindowTest, DescriptionFileDeletedOnlyWithDeleteSetting) {
  std::wstring quf = State().folder / L"qxu_test_delete.quf";
  for (int deleteSetting : {0, 1}) {
    ASSERT_TRUE(PrepareWindows(L"qxu_progress_test.ini"));
    ResetScript();
    Binding().runItems = ScriptedRunItems;
    SetString(&State().commandLine, quf.c_str());
    State().begin = [] { OpenRunWindow(0, 1); };
    State().silent = 1;
    State().information = 0;
    ASSERT_TRUE(qxtest::WriteBytes(quf, ""));
    SetString(&State().settingFile, quf.c_str());
    State().deleteSetting = deleteSetting;
    Watcher watcher;
    ASSERT_TRUE(RunMainWindow());
    CloseWindowsAtExit();
    EXPECT_EQ(qxtest::FileExists(quf), deleteSetting == 0);
  }
  DeleteFileW(quf.c_str());
}

TEST_F(ProgressWindowTest, FailedMainWindowStillEndsTheLoop) {
  // The class is taken already: creation fails and the loop returns at once.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = State().library;
  wc.lpszClassName = kSeriesKey;
  ASSERT_NE(RegisterClassExW(&wc), 0);
  EXPECT_EQ(CreateMainWindow(), 0);
  RunMessageLoop();
  EXPECT_EQ(Shared().mainWindow.load(), nullptr);
  UnregisterClassW(kSeriesKey, State().library);
}

}  // namespace
}  // namespace qxu::test
