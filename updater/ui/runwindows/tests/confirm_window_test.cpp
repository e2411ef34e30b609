// The confirm window over the engine's own check and download passes,
// driven for real under Wine against the tests' loopback servers: rows,
// marks, clicks, colours on screen, the action button, abort, close and
// silent runs.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "engine/download/tests/download_helpers.h"
#include "ui/lang/resource_ids.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/runwindows/win32/confirm_rows.h"
#include "ui/runwindows/win32/run_window_common.h"
#include "win32/loopback.h"
#include "ui/runwindows/tests/window_test_support.h"

namespace qxu::test {
namespace {

using qxtest::HttpUrl;
using qxtest::ReadBytes;
using qxtest::ServedFile;
using qxtest::ServerPort;
using qxtest::WriteBytes;

FILETIME TimeOf(SYSTEMTIME time) {
  FILETIME file{};
  SystemTimeToFileTime(&time, &file);
  return file;
}
// Whole seconds: the server's Last-Modified carries no finer time.
const FILETIME kServerTime = TimeOf({2024, 8, 0, 1, 12, 0, 0, 0});
const FILETIME kOlderTime = TimeOf({2023, 1, 0, 2, 9, 0, 0, 0});

// The run of the current test, for its driver threads.
WindowsRun* g_run = nullptr;

int Mark(int row) { return ListRowMark(g_run->List(), row); }

RECT RowRect(HWND list, int row) {
  RECT r{};
  r.left = LVIR_BOUNDS;
  SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
  return r;
}

void ClickRow(HWND list, int row) {
  RECT r = RowRect(list, row);
  LPARAM at = MAKELPARAM(r.left + 40, (r.top + r.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
  Sleep(400);
}

void Press(int button) {
  if (HWND w = g_run->windows->runWindow) PostMessageW(GetDlgItem(w, button), BM_CLICK, 0, 0);
}

bool RowHasColour(const Capture& c, const RECT& row, int fromX, COLORREF colour) {
  for (int y = row.top; y < row.bottom; ++y)
    for (int x = fromX; x < row.right && x < c.Width(); ++x)
      if (c.At(x, y) == colour) return true;
  return false;
}

// The check icon's place in a row; lines of the icon beyond a row lower
// than 16 pixels are clipped and left out of the comparison.
bool IconDrawn(const Capture& c, HWND list, int row, const std::vector<COLORREF>& icon) {
  RECT cell{};
  cell.top = 0;
  cell.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
  int x0 = cell.left + 1, y0 = (cell.top + cell.bottom - 16) / 2;
  if (icon.size() != 256) return false;
  int compared = 0;
  for (int y = 0; y < 16; ++y) {
    if (y0 + y < cell.top || y0 + y >= cell.bottom) continue;
    for (int x = 0; x < 16; ++x) {
      if (c.At(x0 + x, y0 + y) != icon[y * 16 + x]) return false;
      ++compared;
    }
  }
  return compared >= 16 * 10;
}


// What the driver thread saw, checked on the test's thread afterwards.
struct UserFlow {
  std::wstring names[4], statuses[4];
  RowState states[4] = {};
  int marksAfterCheck[4] = {};
  COLORREF background[4] = {};
  RECT windowRect{};
  bool icon21OnTicked = false, icon20OnPlain = false, icon20NotOnTicked = false;
  bool failedGrayText = true, failedBlackText = false;
  bool selectedBlue = false, selectedYellowText = false;
  int markAfterFirstClick = 0, markAfterSecondClick = 0, markOfLastRow = 0;
};
UserFlow g_flow;

DWORD WINAPI DriveUserFlow(LPVOID) {
  if (!WaitUntil([] { return g_run->CheckDone(); }, 20000)) return 1;
  Sleep(500);
  HWND list = g_run->List();
  UserFlow& f = g_flow;
  for (int i = 0; i < 4; ++i) {
    f.names[i] = ListCell(list, i, 0);
    f.statuses[i] = ListCell(list, i, 1);
    f.states[i] = ListRowState(list, i);
    f.marksAfterCheck[i] = Mark(i);
  }
  GetWindowRect(g_run->windows->runWindow, &f.windowRect);
  RECT client;
  GetClientRect(list, &client);
  {
    Capture c(list);
    for (int i = 0; i < 4; ++i) f.background[i] = c.At(client.right - 3, (RowRect(list, i).top + RowRect(list, i).bottom) / 2);
    RunIcons& icons = g_run->windows->icons;
    f.icon21OnTicked = IconDrawn(c, list, 0, IconOn(icons.checkTicked.get(), RGB(255, 224, 255)));
    f.icon20OnPlain = IconDrawn(c, list, 1, IconOn(icons.checkEmpty.get(), RGB(255, 255, 255)));
    f.icon20NotOnTicked = !IconDrawn(c, list, 0, IconOn(icons.checkEmpty.get(), RGB(255, 224, 255)));
    RECT failed = RowRect(list, 2);
    int statusX = failed.left + static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    f.failedGrayText = RowHasColour(c, failed, failed.left, RGB(128, 128, 128));
    f.failedBlackText = RowHasColour(c, failed, statusX, RGB(0, 0, 0));
  }
  ClickRow(list, 1);
  f.markAfterFirstClick = Mark(1);
  {
    Capture c(list);
    RECT row = RowRect(list, 1);
    f.selectedBlue = c.At(client.right - 3, (row.top + row.bottom) / 2) == RGB(0, 0, 255);
    f.selectedYellowText = RowHasColour(c, row, row.left + 20, RGB(255, 255, 0));
  }
  ClickRow(list, 1);
  f.markAfterSecondClick = Mark(1);
  ClickRow(list, 3);
  f.markOfLastRow = Mark(3);
  Press(IDOK);
  return 0;
}

bool FirstRowDownloading() { return ListRowState(g_run->List(), 0) == RowState::Downloading; }

HeldServer* g_held = nullptr;

bool RunWindowGone() { return g_run->windows->runWindow.load() == nullptr; }

// The second press falls into the first file's transfer, which the held
// server keeps partway until the window has gone.
DWORD WINAPI DriveAbort(LPVOID) {
  bool pressedTwice = false;
  if (WaitUntil([] { return g_run->CheckDone(); }, 20000)) {
    Press(IDOK);
    if (WaitUntil(FirstRowDownloading, 20000)) {
      Press(IDOK);
      pressedTwice = WaitUntil(RunWindowGone, 20000);
    }
  }
  g_held->Release();
  return pressedTwice ? 0 : 1;
}

// Rows of the proxy test, seen once the check gave up.
struct GreyRows {
  std::wstring statuses[2];
  COLORREF background[2] = {};
  bool grayText[2] = {}, blackText[2] = {true, true};
};
GreyRows g_grey;

DWORD WINAPI LookAtUnknownRowsThenClose(LPVOID) {
  if (!WaitUntil([] { return g_run->CheckDone(); }, 20000)) return 1;
  Sleep(500);
  HWND list = g_run->List();
  RECT client;
  GetClientRect(list, &client);
  Capture c(list);
  for (int i = 0; i < 2; ++i) {
    RECT row = RowRect(list, i);
    g_grey.statuses[i] = ListCell(list, i, 1);
    g_grey.background[i] = c.At(client.right - 3, (row.top + row.bottom) / 2);
    int statusX = row.left + static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    g_grey.grayText[i] = RowHasColour(c, row, statusX, RGB(128, 128, 128));
    g_grey.blackText[i] = RowHasColour(c, row, row.left, RGB(0, 0, 0));
  }
  Press(IDCANCEL);
  return 0;
}

// Cancels the proxy's password dialog, the one with edit fields; other
// dialogs are left to the watcher.
qxtest::DialogWatcher::Reply CancelPasswordDialog() {
  auto cancel = ProxyPassword(L"", L"", false);
  return [cancel](const qxtest::SeenDialog& seen) -> int {
    if (!FindWindowExW(seen.window, nullptr, L"Edit", nullptr)) return 0;
    return cancel(seen);
  };
}

bool FirstRowCheckingWithItsRequestHeld() {
  HWND list = g_run->List();
  return list && ListCell(list, 0, 1) == L"チェック中..." && g_held->Requests().size() == 1;
}

DWORD WINAPI DriveCloseDuringCheck(LPVOID) {
  const bool checking = WaitUntil(FirstRowCheckingWithItsRequestHeld, 10000);
  if (checking) Press(IDCANCEL);
  const bool gone = checking && WaitUntil(RunWindowGone, 10000);
  // The check in progress ends now, with the window closed.
  g_held->Release();
  return gone ? 0 : 1;
}

class ConfirmWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qxtest::ServersRunning()) << "run through with_servers.sh";
    ASSERT_TRUE(run.Ready());
    g_run = &run;
    run.windows->commandLine = L"--confirm";
    run.session.options.confirm = true;
  }
  void TearDown() override { g_run = nullptr; }
  // Runs the main window with a driver thread; returns the driver's code.
  DWORD RunWithDriver(LPTHREAD_START_ROUTINE driver) {
    HANDLE t = CreateThread(nullptr, 0, driver, nullptr, 0, nullptr);
    EXPECT_TRUE(run.RunMainWindow());
    WaitForSingleObject(t, INFINITE);
    DWORD code = 1;
    GetExitCodeThread(t, &code);
    CloseHandle(t);
    return code;
  }
  std::string Local(const wchar_t* name) { return qxtest::ReadBytes(run.folder / name); }
  WindowsRun run{L"qxu_confirm_test.ini"};
};

TEST_F(ConfirmWindowTest, CheckTicksClicksSwitchMarksActionDownloadsTickedRows) {
  // Newer on the server, up to date, no server copy (the check fails), up to date.
  ServedFile a(L"cw-a.bin", PatternBytes(1234, 21), &kServerTime);
  ServedFile b(L"cw-b.bin", PatternBytes(2048, 22), &kServerTime);
  ServedFile d(L"cw-d&e.bin", PatternBytes(3000, 23), &kServerTime);
  ASSERT_TRUE(WriteBytes(run.folder / L"a.bin", "old a", &kOlderTime));
  ASSERT_TRUE(WriteBytes(run.folder / L"b.bin", "local b", &kServerTime));
  ASSERT_TRUE(WriteBytes(run.folder / L"d&e.bin", "local d", &kServerTime));
  run.AddItem(HttpUrl(L""), a.name(), run.folder / L"a.bin");
  run.AddItem(HttpUrl(L""), b.name(), run.folder / L"b.bin");
  run.AddItem(HttpUrl(L""), L"cw-c.bin", run.folder / L"c.bin");
  run.AddItem(HttpUrl(L""), d.name(), run.folder / L"d&e.bin");
  run.settings.confirmWindowX = 100;
  run.settings.confirmWindowY = 100;  // sizes 0: opened at 400 by 600
  Watcher watcher(run.iniPath);
  ASSERT_EQ(RunWithDriver(DriveUserFlow), 0u);
  UserFlow& f = g_flow;

  EXPECT_EQ(f.names[0], L"cw-a.bin");
  EXPECT_EQ(f.names[3], L"cw-d&e.bin");
  EXPECT_EQ(Narrow(f.statuses[0]), "アップデート可能(1234byte)");
  EXPECT_EQ(Narrow(f.statuses[1]), "アップデート不要(2048byte)");
  EXPECT_EQ(Narrow(f.statuses[2]), "エラー");
  EXPECT_EQ(Narrow(f.statuses[3]), "アップデート不要(3000byte)");
  EXPECT_EQ(f.states[0], RowState::Newer);
  EXPECT_EQ(f.states[1], RowState::UpToDate);
  EXPECT_EQ(f.states[2], RowState::Failed);
  EXPECT_EQ(f.states[3], RowState::UpToDate);
  EXPECT_EQ(f.marksAfterCheck[0], 2);
  EXPECT_EQ(f.marksAfterCheck[1], 1);
  EXPECT_EQ(f.marksAfterCheck[2], 1);
  EXPECT_EQ(f.marksAfterCheck[3], 1);

  EXPECT_EQ(f.background[0], RGB(255, 224, 255));
  EXPECT_EQ(f.background[1], RGB(255, 255, 255));
  EXPECT_EQ(f.background[2], RGB(255, 255, 255));  // a failed row is not marked out
  EXPECT_TRUE(f.icon21OnTicked);
  EXPECT_TRUE(f.icon20OnPlain);
  EXPECT_TRUE(f.icon20NotOnTicked);
  EXPECT_FALSE(f.failedGrayText);
  EXPECT_TRUE(f.failedBlackText);

  EXPECT_EQ(f.markAfterFirstClick, 2);
  EXPECT_TRUE(f.selectedBlue);
  EXPECT_TRUE(f.selectedYellowText);
  EXPECT_EQ(f.markAfterSecondClick, 1);
  EXPECT_EQ(f.markOfLastRow, 2);

  // The ticked rows 0 and 3 were downloaded, the others left alone.
  EXPECT_TRUE(Local(L"a.bin") == PatternBytes(1234, 21));
  EXPECT_EQ(Local(L"b.bin"), "local b");
  EXPECT_FALSE(qxtest::FileExists(run.folder / L"c.bin"));
  EXPECT_TRUE(Local(L"d&e.bin") == PatternBytes(3000, 23));
  EXPECT_EQ(run.session.items[0].state, RowState::Downloaded);
  EXPECT_EQ(run.session.items[3].state, RowState::Downloaded);
  auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u) << watcher.Describe();
  EXPECT_EQ(Narrow(boxes[0].text), "2個のファイルをアップデートしました\r\nアップデートに失敗したものがあるようです");

  EXPECT_EQ(f.windowRect.left, 100);
  EXPECT_EQ(f.windowRect.top, 100);
  EXPECT_EQ(f.windowRect.right - f.windowRect.left, 400);
  EXPECT_EQ(f.windowRect.bottom - f.windowRect.top, 600);
  EXPECT_EQ(run.IniValue(L"ConfirmWindowX"), L"100");
  EXPECT_EQ(run.IniValue(L"ConfirmWindowWidth"), L"400");
  EXPECT_EQ(run.IniValue(L"ConfirmWindowHeight"), L"600");
}

TEST_F(ConfirmWindowTest, UncheckedRowsAfterACancelledProxyPasswordAreGrey) {
  ServedFile a(L"cw-grey-a.bin", PatternBytes(100, 24), &kServerTime);
  ServedFile b(L"cw-grey-b.bin", PatternBytes(100, 25), &kServerTime);
  run.AddItem(HttpUrl(L""), a.name(), run.folder / L"a.bin");
  run.AddItem(HttpUrl(L""), b.name(), run.folder / L"b.bin");
  ASSERT_NE(ServerPort("QX_TEST_PROXY_PORT"), 0);
  UpdateOptions& o = run.session.options;
  // The authenticating proxy without stored credentials: its password
  // dialog comes up and is cancelled, and the check stops asking.
  o.proxyUserUse = 1;
  o.proxyServer = L"127.0.0.1";
  o.proxyPort = std::to_wstring(ServerPort("QX_TEST_PROXY_PORT"));
  Watcher watcher(run.iniPath, CancelPasswordDialog());
  ASSERT_EQ(RunWithDriver(LookAtUnknownRowsThenClose), 0u) << watcher.Describe();
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(Narrow(g_grey.statuses[i]), "不明") << i;
    EXPECT_EQ(g_grey.background[i], RGB(224, 224, 224)) << i;
    EXPECT_TRUE(g_grey.grayText[i]) << i;
    EXPECT_FALSE(g_grey.blackText[i]) << i;
    EXPECT_EQ(run.session.items[i].state, RowState::Unknown) << i;
  }
  EXPECT_FALSE(qxtest::FileExists(run.folder / L"a.bin"));
  // The password dialog was seen once; the updater itself said nothing.
  int passwordDialogs = 0;
  for (const SeenBox& box : watcher.Boxes()) {
    EXPECT_NE(Narrow(box.caption), "QxUpdate") << watcher.Describe();
    ++passwordDialogs;
  }
  EXPECT_LE(passwordDialogs, 1) << watcher.Describe();
}

TEST_F(ConfirmWindowTest, PressingTheActionButtonTwiceAborts) {
  // Both newer; the first is held partway by the test's server.
  HeldServer held;
  ASSERT_TRUE(held.Listening());
  held.Serve(PatternBytes(64000, 26), kServerTime, 4000);
  g_held = &held;
  ServedFile b(L"cw-abort-b.bin", PatternBytes(64000, 27), &kServerTime);
  run.AddItem(held.Folder(), L"a.bin", run.folder / L"a.bin");
  run.AddItem(HttpUrl(L""), b.name(), run.folder / L"b.bin");
  Watcher watcher(run.iniPath);
  const DWORD code = RunWithDriver(DriveAbort);
  g_held = nullptr;
  ASSERT_EQ(code, 0u);
  auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u) << watcher.Describe();  // no result message after the abort
  EXPECT_EQ(Narrow(boxes[0].text), "中断しました");
  EXPECT_FALSE(boxes[0].settingFileExisted);  // shown before the save
  // The file in transfer was finished, the next one not begun.
  EXPECT_TRUE(Local(L"a.bin") == PatternBytes(64000, 26));
  EXPECT_FALSE(qxtest::FileExists(run.folder / L"b.bin"));
  EXPECT_EQ(run.session.run.keepGoing, 0);
  EXPECT_EQ(run.IniValue(L"ConfirmWindowWidth"), L"400");
}

TEST_F(ConfirmWindowTest, ClosingDuringTheCheckStopsBeforeTheNextFile) {
  HeldServer held;
  ASSERT_TRUE(held.Listening());
  g_held = &held;
  run.AddItem(held.Folder(), L"a.bin", run.folder / L"a.bin");
  run.AddItem(held.Folder(), L"b.bin", run.folder / L"b.bin");
  run.AddItem(held.Folder(), L"c.bin", run.folder / L"c.bin");
  Watcher watcher(run.iniPath);
  const DWORD code = RunWithDriver(DriveCloseDuringCheck);
  g_held = nullptr;
  ASSERT_EQ(code, 0u);
  EXPECT_EQ(run.session.run.keepGoing, 0);
  // Only the file in check when the window closed was asked for.
  const std::vector<std::string> requests = held.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(requests[0].find("/held/a.bin"), std::string::npos) << requests[0];
  for (int i = 0; i < 3; ++i) EXPECT_EQ(run.session.items[i].state, RowState::Unknown) << i;
  EXPECT_EQ(run.session.run.updatedCount, 0);
  EXPECT_TRUE(watcher.Boxes().empty()) << watcher.Describe();  // confirm run, nothing updated
  EXPECT_EQ(run.IniValue(L"ConfirmWindowWidth"), L"400");
}

TEST_F(ConfirmWindowTest, SilentRunDownloadsEveryNewerFileInvisibly) {
  run.session.options.silent = true;
  run.session.options.information = 0;
  ServedFile a(L"cw-silent-a.bin", PatternBytes(500, 28), &kServerTime);
  ServedFile b(L"cw-silent-b.bin", PatternBytes(600, 29), &kServerTime);
  ServedFile c(L"cw-silent-c.bin", PatternBytes(700, 30), &kServerTime);
  ASSERT_TRUE(WriteBytes(run.folder / L"b.bin", "kept", &kServerTime));
  // The first comes slowly: the hidden window lives long enough to be seen.
  run.AddItem(HttpUrl(L"slow/"), a.name(), run.folder / L"a.bin");
  run.AddItem(HttpUrl(L""), b.name(), run.folder / L"b.bin");
  run.AddItem(HttpUrl(L""), c.name(), run.folder / L"c.bin");
  Watcher watcher(run.iniPath);
  RunObserver observer(*run.windows, 0);
  ASSERT_TRUE(run.RunMainWindow());
  observer.Wait();
  ASSERT_TRUE(observer.sawWindow);
  EXPECT_FALSE(observer.sawVisible);  // every look at the window found it hidden
  EXPECT_TRUE(Local(L"a.bin") == PatternBytes(500, 28));
  EXPECT_EQ(Local(L"b.bin"), "kept");
  EXPECT_TRUE(Local(L"c.bin") == PatternBytes(700, 30));
  EXPECT_EQ(run.session.run.updatedCount, 2);
  EXPECT_TRUE(watcher.Boxes().empty()) << watcher.Describe();
  EXPECT_EQ(run.IniValue(L"ConfirmWindowWidth"), L"0");  // nothing taken from the hidden window
}

}  // namespace
}  // namespace qxu::test
