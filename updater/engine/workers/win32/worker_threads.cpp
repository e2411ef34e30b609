#include "engine/workers/win32/worker_threads.h"

#include <commctrl.h>

#include <atomic>
#include <vector>

#include "engine/workers/core/progress_math.h"
#include "engine/workers/win32/run_shared.h"

namespace qxu {

namespace {

constexpr int kStatusLine = 2001;
constexpr int kProgressBar = 2003;
constexpr int kDownloadBar = 2026;

SlimLock g_threadsLock;
std::vector<ThreadHandle> g_threads;
// Each animation takes the next number; an older one stops when it sees a
// newer one, so at most one animates at a time.
std::atomic<int> g_animation{0};

bool Start(LPTHREAD_START_ROUTINE procedure, LPVOID argument) {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, procedure, argument, 0, &id);
  if (!thread) return false;
  LockHold hold(g_threadsLock);
  g_threads.emplace_back(thread);
  return true;
}

bool IsBusy() {
  RunState* run = Shared().run;
  return run && run->busy == 1;
}

void SetBars(HWND window, int position) {
  if (!window) return;
  SendDlgItemMessageW(window, kProgressBar, PBM_SETPOS, position, 0);
  SendDlgItemMessageW(window, kDownloadBar, PBM_SETPOS, position, 0);
}

}  // namespace

bool StartWorker(LPTHREAD_START_ROUTINE procedure) { return Start(procedure, nullptr); }

bool StartTrayAnimation(const wchar_t* text) {
  return Start(AnimateTray, const_cast<wchar_t*>(text));
}

DWORD WINAPI AnimateTray(LPVOID argument) {
  const wchar_t* text = static_cast<const wchar_t*>(argument);
  RunShared& shared = Shared();
  int mine = ++g_animation;
  int frame = 0;
  while (IsBusy()) {
    if (g_animation != mine) return 0;
    frame = NextTrayFrame(frame);
    HICON icon = shared.icons.frames[frame - 1].get();
    shared.tray.Change(icon, shared.programName, text);
    if (HWND window = shared.runWindow) {
      SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
      shared.taskbar.SetOverlay(window, icon);
    }
    Sleep(500);
  }
  if (g_animation != mine) return 0;
  shared.tray.Change(shared.icons.small.get(), shared.programName, nullptr);
  if (HWND window = shared.runWindow) shared.taskbar.SetOverlay(window, nullptr);
  return 0;
}

void ReportProgress(const wchar_t* text, double value) {
  RunShared& shared = Shared();
  HWND window = shared.runWindow;
  if (text && window) SetDlgItemTextW(window, kStatusLine, text);
  if (value < 0) {
    SetBars(window, 0);
    shared.taskbar.SetValue(window, 0, kBarRange);
    shared.taskbar.SetState(window, TBPF_NORMAL);
    return;
  }
  int position = BarPosition(value);
  SetBars(window, position);
  shared.taskbar.SetState(window, TBPF_NORMAL);
  shared.taskbar.SetValue(window, position, kBarRange);
}

void SendRunCommand(int command) {
  if (HWND window = Shared().runWindow) SendMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

bool WaitForRunThreads(DWORD timeoutMs) {
  std::vector<HANDLE> handles;
  {
    LockHold hold(g_threadsLock);
    for (auto& t : g_threads) handles.push_back(t.get());
  }
  DWORD start = GetTickCount();
  for (HANDLE h : handles) {
    for (;;) {
      DWORD spent = GetTickCount() - start;
      if (spent >= timeoutMs) return WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
      DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, timeoutMs - spent, QS_SENDMESSAGE);
      if (r == WAIT_OBJECT_0) break;
      if (r != WAIT_OBJECT_0 + 1) return false;
      // A worker may be waiting in a send to a window of this thread.
      MSG m;
      PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
  }
  return true;
}

}  // namespace qxu
