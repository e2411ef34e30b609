// Shows the progress window or the confirm window during a run of the
// engine's passes against the loopback servers, and offers it for a screen
// grab: window_shots.exe progress|confirm rect-file
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>

#include "ui/lang/resource_ids.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/runwindows/win32/confirm_rows.h"
#include "win32/loopback.h"
#include "ui/runwindows/tests/window_test_support.h"

using namespace qxu;
using namespace qxu::test;

namespace {

std::wstring g_out;
bool g_confirm = false;
WindowsRun* g_run = nullptr;
RunObserver* g_observer = nullptr;

FILETIME TimeOf(SYSTEMTIME time) {
  FILETIME file{};
  SystemTimeToFileTime(&time, &file);
  return file;
}
const FILETIME kServerTime = TimeOf({2024, 8, 0, 1, 12, 0, 0, 0});
const FILETIME kOlderTime = TimeOf({2023, 1, 0, 2, 9, 0, 0, 0});

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

bool SomeRowDownloading() {
  for (int i = 0; i < static_cast<int>(g_run->session.items.size()); ++i)
    if (ListRowState(g_run->List(), i) == RowState::Downloading) return true;
  return false;
}

DWORD WINAPI Photographer(LPVOID) {
  if (g_confirm) {
    if (!WaitUntil([] { return g_run->CheckDone(); }, 30000)) return 1;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(g_run->List(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
    PostMessageW(GetDlgItem(g_run->windows->runWindow, IDOK), BM_CLICK, 0, 0);
    if (!WaitUntil(SomeRowDownloading, 30000)) return 1;
  } else if (WaitForSingleObject(g_observer->partway(), 30000) != WAIT_OBJECT_0) {
    return 1;
  }
  Sleep(400);
  HWND window = g_run->windows->runWindow;
  return window && OfferForGrab(window, g_out) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  g_confirm = std::wcscmp(argv[1], L"confirm") == 0;
  g_out = argv[2];
  if (!qxtest::ServersRunning()) return 1;
  WindowsRun run(L"qxu_window_shots.ini");
  if (!run.Ready()) return 1;
  g_run = &run;
  run.windows->commandLine = L"demo";
  run.session.options.confirm = g_confirm;
  run.session.options.information = 0;
  // Newer, up to date, no server copy, newer; the downloads come slowly.
  qxtest::ServedFile viewer(L"QxViewer.exe", std::string(48000, 'v'), &kServerTime);
  qxtest::ServedFile language(L"QxViewer.Jpn.dll", std::string(20000, 'l'), &kServerTime);
  qxtest::ServedFile help(L"QxViewer.chm", std::string(30000, 'h'), &kServerTime);
  qxtest::WriteBytes(run.folder / L"QxViewer.exe", "old", &kOlderTime);
  qxtest::WriteBytes(run.folder / L"QxViewer.Jpn.dll", "same", &kServerTime);
  const std::wstring slow = qxtest::HttpUrl(L"slow/");
  run.AddItem(slow, viewer.name(), run.folder / L"QxViewer.exe");
  run.AddItem(slow, language.name(), run.folder / L"QxViewer.Jpn.dll");
  run.AddItem(slow, L"readme&history.txt", run.folder / L"readme&history.txt");
  run.AddItem(slow, help.name(), run.folder / L"QxViewer.chm");
  RunObserver observer(*run.windows, 0);
  g_observer = &observer;
  HANDLE photographer = CreateThread(nullptr, 0, Photographer, nullptr, 0, nullptr);
  Watcher watcher(run.iniPath);
  run.RunMainWindow();
  WaitForSingleObject(photographer, INFINITE);
  DWORD code = 1;
  GetExitCodeThread(photographer, &code);
  CloseHandle(photographer);
  observer.Wait();
  return static_cast<int>(code);
}
