#include "ui/mainwindow/win32/main_window.h"

#include <shellapi.h>

#include "engine/workers/win32/run_shared.h"
#include "engine/workers/win32/worker_threads.h"
#include "run_outcome.h"
#include "ui/mainwindow/core/end_of_run.h"
#include "ui/runwindows/win32/run_binding.h"

namespace qxu {

namespace {

const wchar_t* ProgramName() {
  ProgramIdentity* identity = Binding().identity;
  return identity && identity->programName ? identity->programName : kProgramName;
}

void ShowResult() {
  WindowsBinding& b = Binding();
  RunState* run = Shared().run;
  if (!run) return;
  ResultMessage m = ResultMessageFor(run->updatedCount, run->allSucceeded, Flag(b.information, 1), Flag(b.confirm));
  if (m.icon == MessageIcon::None) return;
  wchar_t text[1024];
  lstrcpynW(text, m.text.c_str(), 1024);
  UINT icon = m.icon == MessageIcon::Warning ? MB_ICONWARNING : MB_ICONINFORMATION;
  MessageBoxW(nullptr, text, MessageCaption(b.identity), MB_OK | icon);
}

void EndOfRun(HWND window) {
  WindowsBinding& b = Binding();
  RunState* run = Shared().run;
  ShowResult();
  const wchar_t* program = Text(b.restartProgram);
  if (ShouldOpenRestart(program, Flag(b.noRestart), run ? static_cast<int>(run->updatedCount) : 0))
    ShellExecuteW(nullptr, L"open", program, Text(b.restartArguments), nullptr, SW_SHOWNORMAL);
  const wchar_t* description = Text(b.settingFile);
  if (ShouldDeleteDescription(description, Flag(b.deleteSetting),
                              description && GetFileAttributesW(description) != INVALID_FILE_ATTRIBUTES))
    DeleteFileW(description);
  SendMessageW(window, WM_CLOSE, 0, 0);
}

void StartWork(HWND window) {
  WindowsBinding& b = Binding();
  const wchar_t* line = b.commandLine ? *b.commandLine : nullptr;
  if (line && *line) {
    if (b.beginRun) b.beginRun();
    return;
  }
  INT_PTR result = b.showOptionsDialog ? b.showOptionsDialog() : -1;
  if (result == kOptionsSelfUpdate && b.ownUpdate) *b.ownUpdate = 1;
  SetTimer(window, kCloseTimer, 100, nullptr);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  RunShared& shared = Shared();
  switch (message) {
    case WM_CREATE:
      shared.mainWindow = window;
      RememberSavedOptions();
      shared.tray.Add(window, shared.icons.small.get(), ProgramName());
      SetTimer(window, kStartTimer, 100, nullptr);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_CLOSE:
      shared.mainWindow = nullptr;
      DestroyWindow(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) != kCommandEnd) return 0;
      EndOfRun(window);
      return 1;
    case WM_TIMER:
      if (wParam == kStartTimer) {
        KillTimer(window, kStartTimer);
        StartWork(window);
      } else if (wParam == kCloseTimer) {
        KillTimer(window, kCloseTimer);
        SendMessageW(window, WM_CLOSE, 0, 0);
      }
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int CreateMainWindow() {
  WindowsBinding& b = Binding();
  RunShared& shared = Shared();
  const wchar_t* className = b.identity && b.identity->seriesKey ? b.identity->seriesKey : kSeriesKey;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = b.resources;
  wc.hIcon = shared.icons.large.get();
  wc.hIconSm = shared.icons.small.get();
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = className;
  if (!RegisterClassExW(&wc)) return 0;
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES, className, ProgramName(), WS_POPUP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                b.resources, nullptr);
  if (!window) return 0;
  ShowWindow(window, SW_HIDE);
  return 1;
}

void RunMessageLoop(DWORD workerWaitMs) {
  if (Shared().mainWindow) {
    MSG m;
    BOOL got;
    while ((got = GetMessageW(&m, nullptr, 0, 0)) != 0 && got != -1) {
      HWND run = Shared().runWindow;
      if (run && IsDialogMessageW(run, &m)) continue;
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  if (!WaitForRunThreads(workerWaitMs)) {
    // A transfer that hangs past the limit: end here rather than free what
    // the worker still reads.
    Shared().tray.Remove();
    ExitProcess(0);
  }
}

void DestroyWindowsAtExit() {
  RunShared& shared = Shared();
  if (HWND run = shared.runWindow.exchange(nullptr)) DestroyWindow(run);
  if (HWND main = shared.mainWindow) SendMessageW(main, WM_CLOSE, 0, 0);
  shared.tray.Remove();
}

void CloseWindowsAtExit() {
  DestroyWindowsAtExit();
  Shared().taskbar.Release();
}

}  // namespace qxu
