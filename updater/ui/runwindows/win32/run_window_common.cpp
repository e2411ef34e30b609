#include "ui/runwindows/win32/run_window_common.h"

#include <commctrl.h>

#include "engine/workers/core/progress_math.h"
#include "engine/workers/win32/run_shared.h"
#include "engine/workers/win32/worker_threads.h"
#include "ui/runwindows/win32/confirm_window.h"
#include "ui/runwindows/win32/progress_window.h"
#include "ui/runwindows/win32/run_binding.h"

namespace qxu {

bool Silent() { return Flag(Binding().silent) == 1; }

void SetRunWindowIcons(HWND window) {
  RunIcons& icons = Shared().icons;
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.large.get()));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.small.get()));
}

void HideSilently(HWND window) {
  ShowWindow(window, SW_HIDE);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ResetBar(HWND bar) {
  SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(0, kBarRange));
  SendMessageW(bar, PBM_SETSTEP, 1, 0);
  SendMessageW(bar, PBM_SETPOS, 0, 0);
}

void ResetTaskbar(HWND window) {
  TaskbarProgress& taskbar = Shared().taskbar;
  if (!taskbar.Create()) return;
  taskbar.SetValue(window, 0, kBarRange);
  taskbar.SetState(window, TBPF_NOPROGRESS);
  taskbar.SetOverlay(window, nullptr);
}

void BringToFront(HWND window) {
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

void StartRunThreads(LPTHREAD_START_ROUTINE worker, const wchar_t* activity) {
  RunState* run = Shared().run;
  if (!worker || !run) return;
  run->busy = 1;
  if (!StartWorker(worker)) {
    run->busy = 0;
    return;
  }
  StartTrayAnimation(activity);
}

void EndRunWindow(HWND window, HWND tooltip) {
  RunShared& shared = Shared();
  shared.runWindow = nullptr;
  if (tooltip) DestroyWindow(tooltip);
  DestroyWindow(window);
  shared.taskbar.Release();
  if (HWND main = shared.mainWindow) SendMessageW(main, WM_COMMAND, MAKEWPARAM(kCommandEnd, 0), 0);
}

HWND OpenRunWindow(int confirm, int silent, LPARAM creationParameter) {
  HWND window = CreateDialogParamW(Binding().resources,
                                   MAKEINTRESOURCEW(confirm == 1 ? kConfirmTemplate : kProgressTemplate),
                                   nullptr, confirm == 1 ? ConfirmWindowProc : ProgressWindowProc,
                                   creationParameter);
  if (window && silent != 1) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
  }
  return window;
}

}  // namespace qxu
