#include "ui/runwindows/win32/progress_window.h"

#include "engine/identity/win32/program_identity.h"
#include "ui/lang/resource_ids.h"
#include "ui/placement/win32/window_placement.h"
#include "ui/runwindows/core/run_layout.h"
#include "ui/runwindows/win32/run_window_common.h"
#include "ui/runwindows/win32/run_windows.h"

namespace qxu {

namespace {

constexpr int kCancelButton = IDOK;

void LayOut(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  HWND button = GetDlgItem(window, kCancelButton);
  RECT b{};
  GetWindowRect(button, &b);
  ProgressLayout l = LayOutProgress(client.right, client.bottom, b.right - b.left, b.bottom - b.top);
  for (int id : {QXU_PROGRESS_STATUS, QXU_PROGRESS_BAR, QXU_PROGRESS_SECOND_LINE}) {
    HWND control = GetDlgItem(window, id);
    if (!control) continue;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, l.lineX, r.top, l.lineWidth, r.bottom - r.top, SWP_NOZORDER);
  }
  SetWindowPos(button, nullptr, l.buttonX, l.buttonY, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
}

void StoreGeometry(RunWindows& w, HWND window) {
  if (w.Silent()) return;
  UpdaterSettings* s = w.settings;
  RectRecord r;
  if (!s || !ReadWindowRect(window, &r, nullptr)) return;
  s->downloadWindowX = r.x;
  s->downloadWindowY = r.y;
  s->downloadWindowWidth = r.width;
  s->downloadWindowHeight = r.height;
}

void Initialise(RunWindows& w, HWND window) {
  // Set while the window closes, so that a worker's command arriving in
  // between does not close it twice.
  w.progressClosing = false;
  SetRunWindowIcons(w, window);
  if (w.Silent())
    HideSilently(window);
  else
    CentreWindow(window, 0, nullptr);
  w.runWindow = window;
  SetProgramTitle(w.session.identity, window);
  ResetBar(GetDlgItem(window, QXU_PROGRESS_BAR));
  ResetTaskbar(w, window);
  if (!w.Silent()) {
    BringToFront(window);
    UpdaterSettings* s = w.settings;
    if (s && ProgressTakesStoredRect({s->downloadWindowX, s->downloadWindowY, s->downloadWindowWidth,
                                      s->downloadWindowHeight})) {
      SetWindowPos(window, nullptr, s->downloadWindowX, s->downloadWindowY, s->downloadWindowWidth,
                   s->downloadWindowHeight, SWP_NOZORDER | SWP_SHOWWINDOW);
      LayOut(window);
    }
  }
  w.StartPass(RunPass::Items, kActivityDownloading);
}

void Close(RunWindows& w, HWND window, bool cancelled) {
  if (w.progressClosing) return;
  w.progressClosing = true;
  RunState& run = w.session.run;
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kCommandCheck, 0), 0);  // geometry
  w.SaveRunSettings();
  if (cancelled) run.updatedCount = -1;
  run.keepGoing = 0;
  EndRunWindow(w, window, nullptr);
}

}  // namespace

INT_PTR CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    Initialise(RunWindowsOfDialog(window), window);
    return TRUE;
  }
  if (!GetWindowLongPtrW(window, DWLP_USER)) return FALSE;
  RunWindows& w = RunWindowsOfDialog(window);
  switch (message) {
    case WM_SIZE:
      if (!w.Silent()) LayOut(window);
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCommandRun:
          Close(w, window, true);
          return TRUE;
        case kCommandEnd:
          // The worker clears busy before it reports its end with this
          // command, so the same command while busy came from Escape or
          // the close box.
          Close(w, window, w.session.run.busy == 1);
          return TRUE;
        case kCommandCheck:
          StoreGeometry(w, window);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace qxu
