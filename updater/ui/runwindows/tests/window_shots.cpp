// Shows the progress window or the confirm window during a run and offers
// it for a screen grab: window_shots.exe progress|confirm rect-file
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>

#include "engine/workers/win32/run_shared.h"
#include "scripted_passes.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/runwindows/win32/confirm_rows.h"
#include "ui/runwindows/win32/run_window_common.h"
#include "window_test_support.h"

using namespace qxu;
using namespace qxu::test;

namespace {

std::wstring g_out;
bool g_confirm = false;

// Writes "W H X Y" of the window for the screen grab, then holds the run
// until the grab is done (the grabber deletes the file).
bool OfferForGrab(HWND window, const std::wstring& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  char line[64];
  int n = wsprintfA(line, "%ld %ld %ld %ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
  if (!qxtest::WriteBytes(path, std::string(line, n))) return false;
  for (int wait = 0; wait < 300 && qxtest::FileExists(path); ++wait) Sleep(100);
  return true;
}

DWORD WINAPI Photographer(LPVOID) {
  Script& s = CurrentScript();
  if (g_confirm) {
    if (WaitForSingleObject(s.checkDone, 30000) != WAIT_OBJECT_0) return 1;
    HWND list = GetDlgItem(Shared().runWindow, kConfirmList);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
    PostMessageW(GetDlgItem(Shared().runWindow, 1), BM_CLICK, 0, 0);
  }
  if (WaitForSingleObject(s.reported, 30000) != WAIT_OBJECT_0) return 1;
  Sleep(800);
  HWND window = Shared().runWindow;
  return window && OfferForGrab(window, g_out) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  g_confirm = std::wcscmp(argv[1], L"confirm") == 0;
  g_out = argv[2];
  if (!PrepareWindows(L"qxu_window_shots.ini")) return 1;
  Binding().runItems = ScriptedRunItems;
  Binding().checkPass = ScriptedCheckPass;
  Binding().downloadPass = ScriptedDownloadPass;
  SetString(&State().commandLine, L"demo");
  State().confirm = g_confirm ? 1 : 0;
  State().information = 0;
  State().items = {L"QxViewer.exe", L"QxViewer.Jpn.dll", L"readme&history.txt", L"QxViewer.chm"};
  State().begin = [] { OpenRunWindow(State().confirm, 0); };
  ResetScript();
  Script& s = CurrentScript();
  s.checkResults = {1, 0, 2, 1};
  s.checkDelayMs = 300;
  s.transferDelayMs = 1500;
  s.checkDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  s.reported = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE photographer = CreateThread(nullptr, 0, Photographer, nullptr, 0, nullptr);
  Watcher watcher;
  RunMainWindow();
  WaitForSingleObject(photographer, INFINITE);
  DWORD code = 1;
  GetExitCodeThread(photographer, &code);
  CloseHandle(photographer);
  CloseWindowsAtExit();
  return static_cast<int>(code);
}
