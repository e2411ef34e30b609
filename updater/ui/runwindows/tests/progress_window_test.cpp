// The progress window and the main window over the engine's own run,
// driven for real under Wine against the tests' loopback servers.
#include <gtest/gtest.h>

#include <set>

#include "engine/identity/win32/program_identity.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/runwindows/win32/run_window_common.h"
#include "win32/loopback.h"
#include "ui/runwindows/tests/window_test_support.h"

namespace qxu::test {
namespace {

using qxtest::HttpUrl;
using qxtest::ReadBytes;
using qxtest::ServedFile;

FILETIME TimeOf(SYSTEMTIME time) {
  FILETIME file{};
  SystemTimeToFileTime(&time, &file);
  return file;
}
const FILETIME kServerTime = TimeOf({2024, 8, 0, 1, 12, 0, 0, 0});

// The held server sends a sixteenth of the file at once and the rest when
// released: the bar stands at 6.25 % meanwhile.
const std::string kHeldBody = std::string(1600, 'h');
constexpr std::size_t kSentAtOnce = 100;
constexpr int kHeldBar = 63;

// Releases the held transfer once the observer has seen it partway.
struct ReleaseWhenPartway {
  ReleaseWhenPartway(RunObserver& observer, HeldServer& held) : observer_(observer), held_(held) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~ReleaseWhenPartway() {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  static DWORD WINAPI Run(LPVOID self) {
    auto& r = *static_cast<ReleaseWhenPartway*>(self);
    WaitForSingleObject(r.observer_.partway(), 30000);
    r.held_.Release();
    return 0;
  }
  RunObserver& observer_;
  HeldServer& held_;
  HANDLE thread_;
};

class ProgressWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qxtest::ServersRunning()) << "run through with_servers.sh";
    ASSERT_TRUE(run.Ready());
    ASSERT_TRUE(held.Listening());
    held.Serve(kHeldBody, kServerTime, kSentAtOnce);
  }
  // The first file comes from the held server, the second at once.
  void AddFiles() {
    run.AddItem(held.Folder(), L"a.bin", run.folder / L"a.bin");
    run.AddItem(HttpUrl(L""), b.name(), run.folder / L"b.bin");
  }
  // Runs the windows until the main window ends; the held transfer goes on
  // once the observer has seen it partway.
  void RunHeld(RunObserver& observer) {
    ReleaseWhenPartway releaser(observer, held);
    ASSERT_TRUE(run.RunMainWindow());
    observer.Wait();
    ASSERT_TRUE(observer.sawPartway);
  }
  bool Stored(const wchar_t* name, const std::string& bytes) {
    std::string stored;
    return ReadBytes(run.folder / name, &stored) && stored == bytes;
  }
  WindowsRun run{L"qxu_progress_test.ini"};
  HeldServer held;
  ServedFile b{L"pw-b.bin", kHeldBody, &kServerTime};
};

TEST_F(ProgressWindowTest, RunShowsStatusBarsTrayAndResultThenSavesGeometry) {
  run.settings.downloadWindowX = 210;
  run.settings.downloadWindowY = 160;
  run.settings.downloadWindowWidth = 520;
  run.settings.downloadWindowHeight = 170;
  AddFiles();
  Watcher watcher(run.iniPath);
  RunObserver observer(*run.windows, 1500);
  ASSERT_NO_FATAL_FAILURE(RunHeld(observer));
  const Observation& seen = observer.seen;
  EXPECT_EQ(Narrow(seen.status), "ダウンロード中");
  EXPECT_EQ(seen.bar, kHeldBar);
  EXPECT_TRUE(seen.windowVisible);
  EXPECT_EQ(seen.windowRect.left, 210);
  EXPECT_EQ(seen.windowRect.top, 160);
  EXPECT_EQ(seen.windowRect.right - seen.windowRect.left, 520);
  EXPECT_EQ(seen.windowRect.bottom - seen.windowRect.top, 170);
  EXPECT_TRUE(Stored(L"a.bin", kHeldBody));
  EXPECT_TRUE(Stored(L"b.bin", kHeldBody));

  // Tray: added, tip with the activity, frames 12..15 in turn while busy.
  EXPECT_TRUE(seen.trayAdded);
  EXPECT_EQ(Narrow(seen.tip), "QxUpdate\r\nダウンロード中");
  RunIcons& icons = run.windows->icons;
  std::set<HICON> frames;
  ASSERT_FALSE(observer.trayIcons.empty());
  for (HICON icon : observer.trayIcons) {
    bool isFrame = false;
    for (auto& f : icons.frames) isFrame = isFrame || icon == f.get();
    EXPECT_TRUE(isFrame);
    frames.insert(icon);
  }
  EXPECT_GE(frames.size(), 2u);
  // Back to the resting icon once the worker ended; the tip keeps the text.
  EXPECT_EQ(run.windows->tray.Icon(), icons.small.get());

  auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u) << watcher.Describe();
  EXPECT_EQ(Narrow(boxes[0].caption), "QxUpdate");
  EXPECT_EQ(Narrow(boxes[0].text), "2個のファイルをアップデートしました");

  // Geometry written at close, with the options as the file had them.
  EXPECT_EQ(run.IniValue(L"DownloadWindowX"), L"210");
  EXPECT_EQ(run.IniValue(L"DownloadWindowY"), L"160");
  EXPECT_EQ(run.IniValue(L"DownloadWindowWidth"), L"520");
  EXPECT_EQ(run.IniValue(L"DownloadWindowHeight"), L"170");
  EXPECT_NE(GetFileAttributesW(run.iniPath.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(run.windows->runWindow.load(), nullptr);
  EXPECT_EQ(run.windows->mainWindow.load(), nullptr);
  DestroyWindowsAtExit(*run.windows);
  EXPECT_FALSE(run.windows->tray.Added());
}

HRESULT NoTaskbar(void**) { return REGDB_E_CLASSNOTREG; }

TEST_F(ProgressWindowTest, RunGoesOnWithoutTaskbarObject) {
  run.windows->taskbar.SetFactory(NoTaskbar);
  run.AddItem(held.Folder(), L"a.bin", run.folder / L"a.bin");
  Watcher watcher(run.iniPath);
  RunObserver observer(*run.windows, 0);
  ASSERT_NO_FATAL_FAILURE(RunHeld(observer));
  EXPECT_FALSE(observer.seen.taskbar);
  EXPECT_EQ(observer.seen.bar, kHeldBar);
  EXPECT_TRUE(Stored(L"a.bin", kHeldBody));
  EXPECT_EQ(run.session.run.updatedCount, 1);
  EXPECT_EQ(watcher.Boxes().size(), 1u) << watcher.Describe();
}

TEST_F(ProgressWindowTest, TaskbarObjectUsedWithComReleasedAtClose) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  run.AddItem(held.Folder(), L"a.bin", run.folder / L"a.bin");
  Watcher watcher(run.iniPath);
  RunObserver observer(*run.windows, 0);
  ASSERT_NO_FATAL_FAILURE(RunHeld(observer));
  EXPECT_TRUE(observer.seen.taskbar);
  EXPECT_EQ(observer.seen.bar, kHeldBar);
  EXPECT_FALSE(run.windows->taskbar.Exists());
  EXPECT_EQ(watcher.Boxes().size(), 1u) << watcher.Describe();
  CoUninitialize();
}

TEST_F(ProgressWindowTest, SmallStoredSizeKeepsTemplateSizeCentred) {
  run.settings.downloadWindowX = 3;
  run.settings.downloadWindowY = 3;
  run.settings.downloadWindowWidth = 4;
  run.settings.downloadWindowHeight = 600;
  run.AddItem(held.Folder(), L"a.bin", run.folder / L"a.bin");
  Watcher watcher(run.iniPath);
  RunObserver observer(*run.windows, 0);
  ASSERT_NO_FATAL_FAILURE(RunHeld(observer));
  RECT r = observer.seen.windowRect;
  EXPECT_GT(r.right - r.left, 100);
  EXPECT_NE(r.left, 3);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR(r.left, (work.right - (r.right - r.left)) / 2, 1);
}

// Presses Cancel while the first transfer is held partway, notes what is
// left once the windows went away, then lets the transfer finish.
struct CancelDriver {
  RunObserver* observer;
  RunWindows* windows;
  HeldServer* held;
  bool uiGoneDuringTransfer = false;
  int updatedCountWhenGone = 0;
};

DWORD WINAPI PressCancelWhenPartway(LPVOID argument) {
  CancelDriver& d = *static_cast<CancelDriver*>(argument);
  if (WaitForSingleObject(d.observer->partway(), 20000) != WAIT_OBJECT_0) {
    d.held->Release();
    return 1;
  }
  if (HWND w = d.windows->runWindow) PostMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
  for (int wait = 0; wait < 2000 && (d.windows->mainWindow.load() || d.windows->runWindow.load()); ++wait) Sleep(10);
  d.updatedCountWhenGone = d.windows->session.run.updatedCount;
  d.uiGoneDuringTransfer = d.windows->mainWindow.load() == nullptr && d.windows->runWindow.load() == nullptr &&
                           d.windows->session.run.busy == 1;
  d.held->Release();
  return 0;
}

TEST_F(ProgressWindowTest, CancelReturnsAtOnceNoResultRestartStillOpened) {
  std::wstring record = run.folder / L"qxu_restart_cancel.txt";
  run.session.options.restartProgram = ProgramFolder() + L"updater_restart_probe.exe";
  run.session.options.restartArguments = L"\"" + record + L"\" after-cancel";
  AddFiles();
  Watcher watcher(run.iniPath);
  RunObserver observer(*run.windows, 0);
  CancelDriver driver{&observer, run.windows.get(), &held};
  HANDLE presser = CreateThread(nullptr, 0, PressCancelWhenPartway, &driver, 0, nullptr);
  ASSERT_TRUE(run.RunMainWindow());
  WaitForSingleObject(presser, INFINITE);
  DWORD code = 1;
  GetExitCodeThread(presser, &code);
  CloseHandle(presser);
  observer.Wait();
  ASSERT_EQ(code, 0u);

  EXPECT_EQ(driver.updatedCountWhenGone, -1);
  EXPECT_TRUE(watcher.Boxes().empty()) << watcher.Describe();
  EXPECT_TRUE(driver.uiGoneDuringTransfer);
  // The loop waited for the worker: it finished the file it had begun and
  // stopped before the next one.
  EXPECT_EQ(run.session.run.busy, 0);
  EXPECT_TRUE(Stored(L"a.bin", kHeldBody));
  EXPECT_FALSE(qxtest::FileExists(run.folder / L"b.bin"));
  auto lines = ProbeLines(record, 15000);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("after-cancel"), std::string::npos);
}

TEST_F(ProgressWindowTest, NoRestartWhenNothingUpdatedButFailureStillReported) {
  std::wstring record = run.folder / L"qxu_restart_none.txt";
  UpdateOptions& o = run.session.options;
  o.restartProgram = ProgramFolder() + L"updater_restart_probe.exe";
  o.restartArguments = L"\"" + record + L"\"";
  o.noRestart = true;
  o.silent = true;
  o.information = 0;
  // No server copy: a failed download, nothing updated.
  run.AddItem(HttpUrl(L""), L"pw-missing.bin", run.folder / L"missing.bin");
  Watcher watcher(run.iniPath);
  ASSERT_TRUE(run.RunMainWindow());
  auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u) << watcher.Describe();
  EXPECT_EQ(Narrow(boxes[0].text), "アップデートに失敗しました");
  EXPECT_EQ(run.session.run.allSucceeded, 0);
  EXPECT_TRUE(ProbeLines(record, 3000).empty());
  // Silent: geometry not taken from the hidden window.
  EXPECT_EQ(run.IniValue(L"DownloadWindowWidth"), L"0");
}

TEST_F(ProgressWindowTest, OneRunsOverridesAreNotWrittenBack) {
  // The file's values, as the main window found them before the command line.
  run.session.options.information = 1;
  run.session.options.proxyUserUse = 0;
  RunWindows* w = run.windows.get();
  w->beginRun = [w] {
    // What "--silent -pu bob -pw secret" does to the options for this run.
    UpdateOptions& o = w->session.options;
    o.silent = true;
    o.information = 0;
    o.proxyUserUse = 1;
    o.proxyUser = L"bob";
    w->OpenRunWindow(false, true);
  };
  Watcher watcher(run.iniPath);
  ASSERT_TRUE(run.RunMainWindow());
  EXPECT_EQ(run.IniValue(L"Information"), L"1");
  EXPECT_EQ(run.IniValue(L"ProxyUserUse"), L"0");
  EXPECT_EQ(run.IniValue(L"ProxyUserName"), L"<none>");
}

TEST_F(ProgressWindowTest, DescriptionFileDeletedOnlyWithDeleteSetting) {
  for (bool deleteSetting : {false, true}) {
    WindowsRun one(L"qxu_progress_test.ini");
    ASSERT_TRUE(one.Ready());
    std::wstring quf = one.folder / L"qxu_test_delete.quf";
    ASSERT_TRUE(qxtest::WriteBytes(quf, ""));
    one.windows->commandLine = quf;
    UpdateOptions& o = one.session.options;
    o.silent = true;
    o.information = 0;
    o.settingFile = quf;
    o.deleteSetting = deleteSetting;
    Watcher watcher(one.iniPath);
    ASSERT_TRUE(one.RunMainWindow());
    DestroyWindowsAtExit(*one.windows);
    EXPECT_EQ(qxtest::FileExists(quf), !deleteSetting);
  }
}

TEST_F(ProgressWindowTest, FailedMainWindowStillEndsTheLoop) {
  // The class is taken already: creation fails and the loop returns at once.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = run.windows->resources;
  wc.lpszClassName = kSeriesKey;
  ASSERT_NE(RegisterClassExW(&wc), 0);
  EXPECT_EQ(CreateMainWindow(*run.windows), 0);
  RunMessageLoop(*run.windows);
  EXPECT_EQ(run.windows->mainWindow.load(), nullptr);
  UnregisterClassW(kSeriesKey, run.windows->resources);
}

}  // namespace
}  // namespace qxu::test
