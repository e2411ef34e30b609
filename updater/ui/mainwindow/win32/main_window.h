#pragma once
// The hidden main window: tray icon, start timer, end of run, message loop.
#include <windows.h>

namespace qxu {

inline constexpr UINT_PTR kStartTimer = 5001;
inline constexpr UINT_PTR kCloseTimer = 5002;
inline constexpr int kOptionsSelfUpdate = 2301;

// Registers the class and creates the hidden window; 1 on success, else 0.
int CreateMainWindow();

// Runs until the main window is destroyed; without a main window it returns
// at once, so that a failed creation still ends the process. Afterwards it
// waits for the run's threads (see the implementation for the limit).
void RunMessageLoop();

// Clean-up after the loop: a run window still open is destroyed, the main
// window closed and the tray icon removed.
void DestroyWindowsAtExit();
// DestroyWindowsAtExit, then the taskbar object released.
void CloseWindowsAtExit();

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qxu
