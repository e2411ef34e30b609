#include "ui/runwindows/win32/progress_window.h"

#include "engine/workers/win32/run_shared.h"
#include "engine/workers/win32/worker_threads.h"
#include "ui/placement/win32/window_placement.h"
#include "ui/runwindows/core/run_layout.h"
#include "ui/runwindows/win32/run_binding.h"
#include "ui/runwindows/win32/run_window_common.h"

namespace qxu {

namespace {

constexpr int kStatusLine = 2001;
constexpr int kSecondLine = 2002;
constexpr int kBar = 2003;
constexpr int kCancelButton = 1;

// Set while the window closes, so that a worker's command arriving in
// between does not close it twice.
bool g_closing = false;

void LayOut(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  HWND button = GetDlgItem(window, kCancelButton);
  RECT b{};
  GetWindowRect(button, &b);
  ProgressLayout l = LayOutProgress(client.right, client.bottom, b.right - b.left, b.bottom - b.top);
  for (int id : {kStatusLine, kBar, kSecondLine}) {
    HWND control = GetDlgItem(window, id);
    if (!control) continue;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(control, nullptr, l.lineX, r.top, l.lineWidth, r.bottom - r.top, SWP_NOZORDER);
  }
  SetWindowPos(button, nullptr, l.buttonX, l.buttonY, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
}

void StoreGeometry(HWND window) {
  if (Silent()) return;
  UpdaterSettings* s = Binding().settings;
  RectRecord r;
  if (!s || !ReadWindowRect(window, &r, nullptr)) return;
  s->downloadWindowX = r.x;
  s->downloadWindowY = r.y;
  s->downloadWindowWidth = r.width;
  s->downloadWindowHeight = r.height;
}

void Initialise(HWND window, LPARAM parameter) {
  WindowsBinding& b = Binding();
  g_closing = false;
  SetRunWindowIcons(window);
  if (Silent())
    HideSilently(window);
  else
    CentreWindow(window, 0, nullptr);
  Shared().runWindow = window;
  SetProgramTitle(b.identity, window);
  ResetBar(GetDlgItem(window, kBar));
  ResetTaskbar(window);
  if (!Silent()) {
    BringToFront(window);
    UpdaterSettings* s = b.settings;
    if (s && ProgressTakesStoredRect({s->downloadWindowX, s->downloadWindowY, s->downloadWindowWidth,
                                      s->downloadWindowHeight})) {
      SetWindowPos(window, nullptr, s->downloadWindowX, s->downloadWindowY, s->downloadWindowWidth,
                   s->downloadWindowHeight, SWP_NOZORDER | SWP_SHOWWINDOW);
      LayOut(window);
    }
  }
  StartRunThreads(parameter == 0 ? b.runItems : b.runSelfUpdate, kActivityDownloading);
}

// The worker clears busy before it reports its end with command 2, so the
// same command while it is still 1 came from Escape or the close box.
bool WorkerStillRuns() {
  RunState* run = Shared().run;
  return run && run->busy == 1;
}

void Close(HWND window, bool cancelled) {
  if (g_closing) return;
  g_closing = true;
  RunState* run = Shared().run;
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kCommandCheck, 0), 0);  // geometry
  SaveRunSettings();
  if (run) {
    if (cancelled) run->updatedCount = -1;
    run->keepGoing = 0;
  }
  EndRunWindow(window, nullptr);
}

}  // namespace

INT_PTR CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Initialise(window, lParam);
      return TRUE;
    case WM_SIZE:
      if (!Silent()) LayOut(window);
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCommandRun:
          Close(window, true);
          return TRUE;
        case kCommandEnd:
          Close(window, WorkerStillRuns());
          return TRUE;
        case kCommandCheck:
          StoreGeometry(window);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace qxu
