#pragma once
// The hidden main window: tray icon, start timer, end of run, message loop.
#include <windows.h>

namespace qxu {

class RunWindows;

inline constexpr UINT_PTR kStartTimer = 5001;
inline constexpr UINT_PTR kCloseTimer = 5002;

// A cancelled worker finishes its current file before it stops; it reads
// the item table that the clean-up frees, so the process waits for it this
// long before giving up.
inline constexpr DWORD kWorkerWaitMs = 60000;

// Registers the class and creates the hidden window over w; 1 on success.
int CreateMainWindow(RunWindows& w);

// Runs until the main window is destroyed; without a main window it returns
// at once, so that a failed creation still ends the process. Afterwards it
// waits up to kWorkerWaitMs for the run's threads, and ends the process
// when one still runs.
void RunMessageLoop(RunWindows& w);

// Clean-up after the loop: a run window still open is destroyed, the main
// window closed and the tray icon removed.
void DestroyWindowsAtExit(RunWindows& w);

}  // namespace qxu
