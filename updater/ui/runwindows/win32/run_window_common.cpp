#include "ui/runwindows/win32/run_window_common.h"

#include <commctrl.h>

#include "ui/lang/resource_ids.h"
#include "ui/runwindows/core/progress_math.h"
#include "ui/runwindows/win32/confirm_window.h"
#include "ui/runwindows/win32/progress_window.h"
#include "ui/runwindows/win32/run_windows.h"

namespace qxu {

void SetRunWindowIcons(RunWindows& w, HWND window) {
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(w.icons.large.get()));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(w.icons.small.get()));
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

void ResetTaskbar(RunWindows& w, HWND window) {
  if (!w.taskbar.Create()) return;
  w.taskbar.SetValue(window, 0, kBarRange);
  w.taskbar.SetState(window, TBPF_NOPROGRESS);
  w.taskbar.SetOverlay(window, nullptr);
}

void BringToFront(HWND window) {
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW;
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

void EndRunWindow(RunWindows& w, HWND window, HWND tooltip) {
  w.runWindow = nullptr;
  if (tooltip) DestroyWindow(tooltip);
  DestroyWindow(window);
  w.taskbar.Release();
  if (HWND main = w.mainWindow) SendMessageW(main, WM_COMMAND, MAKEWPARAM(kCommandEnd, 0), 0);
}

HWND OpenRunWindowOf(RunWindows& w, bool confirm, bool silent) {
  HWND window = CreateDialogParamW(w.resources, MAKEINTRESOURCEW(confirm ? QXU_DIALOG_CONFIRM : QXU_DIALOG_PROGRESS),
                                   nullptr, confirm ? ConfirmWindowProc : ProgressWindowProc,
                                   reinterpret_cast<LPARAM>(&w));
  if (window && !silent) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
  }
  return window;
}

}  // namespace qxu
