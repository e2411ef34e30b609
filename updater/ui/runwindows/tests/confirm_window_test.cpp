// The confirm window driven for real under Wine: rows, marks, clicks,
// colours on screen, the action button, abort, close and silent runs.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "engine/workers/win32/run_shared.h"
#include "scripted_passes.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/runwindows/win32/confirm_rows.h"
#include "ui/runwindows/win32/run_window_common.h"
#include "window_test_support.h"

namespace qxu::test {
namespace {

HWND RunList() {
  HWND w = Shared().runWindow;
  return w ? GetDlgItem(w, kConfirmList) : nullptr;
}

std::wstring Cell(HWND list, int row, int column) {
  wchar_t text[256] = L"";
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

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
  if (HWND w = Shared().runWindow) PostMessageW(GetDlgItem(w, button), BM_CLICK, 0, 0);
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
  int marksAfterCheck[4] = {};
  COLORREF background[4] = {};
  bool icon21OnTicked = false, icon20OnPlain = false, icon20NotOnTicked = false;
  bool unknownGrayText = false, unknownBlackText = true;
  bool selectedBlue = false, selectedYellowText = false;
  int markAfterFirstClick = 0, markAfterSecondClick = 0, markOfLastRow = 0;
};
UserFlow g_flow;

DWORD WINAPI DriveUserFlow(LPVOID) {
  Script& s = CurrentScript();
  if (WaitForSingleObject(s.checkDone, 20000) != WAIT_OBJECT_0) return 1;
  Sleep(500);
  HWND list = RunList();
  UserFlow& f = g_flow;
  for (int i = 0; i < 4; ++i) {
    f.names[i] = Cell(list, i, 0);
    f.statuses[i] = Cell(list, i, 1);
    f.marksAfterCheck[i] = RowMark(i);
  }
  RECT client;
  GetClientRect(list, &client);
  {
    Capture c(list);
    for (int i = 0; i < 4; ++i) f.background[i] = c.At(client.right - 3, (RowRect(list, i).top + RowRect(list, i).bottom) / 2);
    RunIcons& icons = Shared().icons;
    f.icon21OnTicked = IconDrawn(c, list, 0, IconOn(icons.checkTicked.get(), RGB(255, 224, 255)));
    f.icon20OnPlain = IconDrawn(c, list, 1, IconOn(icons.checkEmpty.get(), RGB(255, 255, 255)));
    f.icon20NotOnTicked = !IconDrawn(c, list, 0, IconOn(icons.checkEmpty.get(), RGB(255, 224, 255)));
    RECT unknown = RowRect(list, 2);
    int statusX = unknown.left + static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    f.unknownGrayText = RowHasColour(c, unknown, statusX, RGB(128, 128, 128));
    f.unknownBlackText = RowHasColour(c, unknown, unknown.left, RGB(0, 0, 0));
  }
  ClickRow(list, 1);
  f.markAfterFirstClick = RowMark(1);
  {
    Capture c(list);
    RECT row = RowRect(list, 1);
    f.selectedBlue = c.At(client.right - 3, (row.top + row.bottom) / 2) == RGB(0, 0, 255);
    f.selectedYellowText = RowHasColour(c, row, row.left + 20, RGB(255, 255, 0));
  }
  ClickRow(list, 1);
  f.markAfterSecondClick = RowMark(1);
  ClickRow(list, 3);
  f.markOfLastRow = RowMark(3);
  Press(1);
  return 0;
}

DWORD WINAPI DriveAbort(LPVOID) {
  Script& s = CurrentScript();
  if (WaitForSingleObject(s.checkDone, 20000) != WAIT_OBJECT_0) return 1;
  Press(1);
  if (WaitForSingleObject(s.reported, 20000) != WAIT_OBJECT_0) return 1;
  Press(1);
  return 0;
}

DWORD WINAPI DriveCloseDuringCheck(LPVOID) {
  for (int wait = 0; wait < 400; ++wait) {
    HWND list = RunList();
    if (list && Cell(list, 0, 1) == L"チェック中...") {
      Press(2);
      return 0;
    }
    Sleep(25);
  }
  return 1;
}

class ConfirmWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PrepareWindows(L"qxu_confirm_test.ini"));
    ResetScript();
    Binding().checkPass = ScriptedCheckPass;
    Binding().downloadPass = ScriptedDownloadPass;
    SetString(&State().commandLine, L"--confirm");
    State().confirm = 1;
    State().begin = [] { OpenRunWindow(State().confirm, State().silent); };
    checkDone_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    reported_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CurrentScript().checkDone = checkDone_;
    CurrentScript().reported = reported_;
  }
  void TearDown() override {
    CloseWindowsAtExit();
    CloseHandle(checkDone_);
    CloseHandle(reported_);
  }
  // Runs the main window with a driver thread; returns the driver's code.
  DWORD RunWithDriver(LPTHREAD_START_ROUTINE driver) {
    HANDLE t = CreateThread(nullptr, 0, driver, nullptr, 0, nullptr);
    EXPECT_TRUE(RunMainWindow());
    WaitForSingleObject(t, INFINITE);
    DWORD code = 1;
    GetExitCodeThread(t, &code);
    CloseHandle(t);
    return code;
  }
  HANDLE checkDone_ = nullptr, reported_ = nullptr;
};

TEST_F(ConfirmWindowTest, CheckTicksClicksSwitchMarksActionDownloadsTickedRows) {
  State().items = {L"a.bin", L"b.bin", L"c.bin", L"d&e.bin"};
  CurrentScript().checkResults = {1, 0, 2, 0};
  State().settings.confirmWindowX = 100;
  State().settings.confirmWindowY = 100;  // sizes 0: opened at 400 by 600
  Watcher watcher;
  ASSERT_EQ(RunWithDriver(DriveUserFlow), 0u);
  UserFlow& f = g_flow;
  Script& s = CurrentScript();

  EXPECT_EQ(f.names[0], L"a.bin");
  EXPECT_EQ(f.names[3], L"d&e.bin");
  EXPECT_EQ(Narrow(f.statuses[0]), "アップデート可能(1234byte)");
  EXPECT_EQ(Narrow(f.statuses[1]), "アップデート不要(2048byte)");
  EXPECT_EQ(Narrow(f.statuses[2]), "不明");
  EXPECT_EQ(f.marksAfterCheck[0], 2);
  EXPECT_EQ(f.marksAfterCheck[1], 1);
  EXPECT_EQ(f.marksAfterCheck[2], 1);

  EXPECT_EQ(f.background[0], RGB(255, 224, 255));
  EXPECT_EQ(f.background[1], RGB(255, 255, 255));
  EXPECT_EQ(f.background[2], RGB(224, 224, 224));
  EXPECT_TRUE(f.icon21OnTicked);
  EXPECT_TRUE(f.icon20OnPlain);
  EXPECT_TRUE(f.icon20NotOnTicked);
  EXPECT_TRUE(f.unknownGrayText);
  EXPECT_FALSE(f.unknownBlackText);

  EXPECT_EQ(f.markAfterFirstClick, 2);
  EXPECT_TRUE(f.selectedBlue);
  EXPECT_TRUE(f.selectedYellowText);
  EXPECT_EQ(f.markAfterSecondClick, 1);
  EXPECT_EQ(f.markOfLastRow, 2);

  EXPECT_EQ(s.downloaded, (std::vector<int>{0, 3}));
  auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u) << watcher.Describe();
  EXPECT_EQ(Narrow(boxes[0].text), "2個のファイルをアップデートしました");

  EXPECT_EQ(s.seen.windowRect.left, 100);
  EXPECT_EQ(s.seen.windowRect.top, 100);
  EXPECT_EQ(s.seen.windowRect.right - s.seen.windowRect.left, 400);
  EXPECT_EQ(s.seen.windowRect.bottom - s.seen.windowRect.top, 600);
  EXPECT_EQ(IniValue(L"ConfirmWindowX"), L"100");
  EXPECT_EQ(IniValue(L"ConfirmWindowWidth"), L"400");
  EXPECT_EQ(IniValue(L"ConfirmWindowHeight"), L"600");
}

TEST_F(ConfirmWindowTest, PressingTheActionButtonTwiceAborts) {
  State().items = {L"a.bin", L"b.bin"};
  CurrentScript().checkResults = {1, 1};
  CurrentScript().transferDelayMs = 1500;
  Watcher watcher;
  ASSERT_EQ(RunWithDriver(DriveAbort), 0u);
  auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u) << watcher.Describe();  // no result message after the abort
  EXPECT_EQ(Narrow(boxes[0].text), "中断しました");
  EXPECT_FALSE(boxes[0].settingFileExisted);  // shown before the save
  EXPECT_EQ(CurrentScript().downloaded, (std::vector<int>{0}));
  EXPECT_EQ(IniValue(L"ConfirmWindowWidth"), L"400");
}

TEST_F(ConfirmWindowTest, ClosingDuringTheCheckStopsBeforeTheNextFile) {
  State().items = {L"a.bin", L"b.bin", L"c.bin"};
  CurrentScript().checkResults = {1, 1, 1};
  CurrentScript().checkDelayMs = 800;
  Watcher watcher;
  ASSERT_EQ(RunWithDriver(DriveCloseDuringCheck), 0u);
  EXPECT_EQ(State().run.keepGoing, 0);
  EXPECT_TRUE(CurrentScript().checked.empty());
  EXPECT_TRUE(CurrentScript().downloaded.empty());
  EXPECT_TRUE(watcher.Boxes().empty()) << watcher.Describe();  // confirm run, nothing updated
  EXPECT_EQ(IniValue(L"ConfirmWindowWidth"), L"400");
}

TEST_F(ConfirmWindowTest, SilentRunDownloadsEveryNewerFileInvisibly) {
  State().silent = 1;
  State().information = 0;
  State().items = {L"a.bin", L"b.bin", L"c.bin"};
  CurrentScript().checkResults = {1, 0, 1};
  Watcher watcher;
  ASSERT_TRUE(RunMainWindow());
  EXPECT_FALSE(CurrentScript().seen.windowVisible);
  EXPECT_EQ(CurrentScript().downloaded, (std::vector<int>{0, 2}));
  EXPECT_EQ(State().run.updatedCount, 2);
  EXPECT_TRUE(watcher.Boxes().empty()) << watcher.Describe();
  EXPECT_EQ(IniValue(L"ConfirmWindowWidth"), L"0");  // nothing taken from the hidden window
}

}  // namespace
}  // namespace qxu::test
