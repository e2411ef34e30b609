#pragma once
// Process-wide values that the windows and the worker threads share: the
// run state, the run and main window handles, the taskbar object, the tray
// icon and the icons of the run.
#include <windows.h>

#include <atomic>

#include "engine/workers/win32/taskbar_progress.h"
#include "engine/workers/win32/thread_owner.h"
#include "engine/workers/win32/tray_icon.h"
#include "run_outcome.h"

namespace qxu {

// Icons of the language resource library, owned here.
struct RunIcons {
  IconHandle large;        // 10 at 32 by 32
  IconHandle small;        // 10 at 16 by 16, also the resting tray icon
  IconHandle frames[4];    // 12..15 at 16 by 16
  IconHandle checkEmpty;   // 20
  IconHandle checkTicked;  // 21

  // Loads every icon from the library; missing ones stay none.
  void Load(HMODULE library);
};

struct RunShared {
  RunState* run = nullptr;
  const wchar_t* programName = L"QxSeries";
  std::atomic<HWND> runWindow{nullptr};
  std::atomic<HWND> mainWindow{nullptr};
  TaskbarProgress taskbar;
  TrayIcon tray;
  RunIcons icons;
};

RunShared& Shared();

}  // namespace qxu
