#include "ui/mainwindow/win32/main_window.h"

#include <shellapi.h>

#include "engine/runrules/core/run_outcome.h"
#include "engine/identity/win32/program_identity.h"
#include "ui/lang/resource_ids.h"
#include "ui/mainwindow/core/end_of_run.h"
#include "ui/runwindows/win32/run_window_common.h"
#include "ui/runwindows/win32/run_windows.h"

namespace qxu {

namespace {

const wchar_t* OrNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

void ShowResult(RunWindows& w) {
  const UpdateSession& s = w.session;
  ResultMessage m = ResultMessageFor(s.run.updatedCount, s.run.allSucceeded, s.options.information, s.options.confirm);
  if (m.icon == MessageIcon::None) return;
  UINT icon = m.icon == MessageIcon::Warning ? MB_ICONWARNING : MB_ICONINFORMATION;
  MessageBoxW(nullptr, m.text.c_str(), w.ProgramName(), MB_OK | icon);
}

void EndOfRun(RunWindows& w, HWND window) {
  const UpdateOptions& o = w.session.options;
  ShowResult(w);
  const wchar_t* program = OrNull(o.restartProgram);
  if (ShouldOpenRestart(program, o.noRestart, w.session.run.updatedCount))
    ShellExecuteW(nullptr, L"open", program, OrNull(o.restartArguments), nullptr, SW_SHOWNORMAL);
  const wchar_t* description = OrNull(o.settingFile);
  if (ShouldDeleteDescription(description, o.deleteSetting,
                              description && GetFileAttributesW(description) != INVALID_FILE_ATTRIBUTES))
    DeleteFileW(description);
  SendMessageW(window, WM_CLOSE, 0, 0);
}

void StartWork(RunWindows& w, HWND window) {
  if (!w.commandLine.empty()) {
    if (w.beginRun) w.beginRun();
    return;
  }
  const int result = w.showOptionsDialog ? w.showOptionsDialog() : -1;
  if (result == QXU_OPTIONS_SELF_UPDATE) w.session.options.ownUpdate = true;
  SetTimer(window, kCloseTimer, 100, nullptr);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    auto& w = *static_cast<RunWindows*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&w));
    w.mainWindow = window;
    w.RememberSavedOptions();
    w.tray.Add(window, w.icons.small.get(), w.ProgramName());
    SetTimer(window, kStartTimer, 100, nullptr);
    return 0;
  }
  if (!GetWindowLongPtrW(window, GWLP_USERDATA)) return DefWindowProcW(window, message, wParam, lParam);
  RunWindows& w = RunWindowsOfWindow(window);
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_CLOSE:
      w.mainWindow = nullptr;
      DestroyWindow(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) != kCommandEnd) return 0;
      EndOfRun(w, window);
      return 1;
    case WM_TIMER:
      if (wParam == kStartTimer) {
        KillTimer(window, kStartTimer);
        StartWork(w, window);
      } else if (wParam == kCloseTimer) {
        KillTimer(window, kCloseTimer);
        SendMessageW(window, WM_CLOSE, 0, 0);
      }
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int CreateMainWindow(RunWindows& w) {
  const ProgramIdentity* identity = w.session.identity;
  const wchar_t* className = identity && identity->seriesKey ? identity->seriesKey : kSeriesKey;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = w.resources;
  wc.hIcon = w.icons.large.get();
  wc.hIconSm = w.icons.small.get();
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = className;
  if (!RegisterClassExW(&wc)) return 0;
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES, className, w.ProgramName(), WS_POPUP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                w.resources, &w);
  if (!window) return 0;
  ShowWindow(window, SW_HIDE);
  return 1;
}

void RunMessageLoop(RunWindows& w) {
  if (w.mainWindow) {
    MSG m;
    BOOL got;
    while ((got = GetMessageW(&m, nullptr, 0, 0)) != 0 && got != -1) {
      HWND run = w.runWindow;
      if (run && IsDialogMessageW(run, &m)) continue;
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
  }
  if (!w.threads.WaitAll(kWorkerWaitMs)) {
    // A transfer that hangs past the limit: end here rather than free what
    // the worker still reads.
    w.tray.Remove();
    ExitProcess(0);
  }
}

void DestroyWindowsAtExit(RunWindows& w) {
  if (HWND run = w.runWindow.exchange(nullptr)) DestroyWindow(run);
  if (HWND main = w.mainWindow) SendMessageW(main, WM_CLOSE, 0, 0);
  w.tray.Remove();
}

}  // namespace qxu
