#pragma once
// Steps that the confirm window and the progress window share.
#include <windows.h>

namespace qxu {

inline constexpr int kConfirmTemplate = 102;
inline constexpr int kProgressTemplate = 202;

// Large and small window icon (icon 10).
void SetRunWindowIcons(HWND window);
// Hidden and of size zero.
void HideSilently(HWND window);
// Range 0..1000, step 1, position 0.
void ResetBar(HWND bar);
// Creates the taskbar object when there is none and resets it for the window.
void ResetTaskbar(HWND window);
// Top-most and back, both times shown, neither moved nor sized.
void BringToFront(HWND window);
// Starts a worker and the tray animation; busy is set before the worker
// starts, so that a worker ending at once cannot leave it at 1.
void StartRunThreads(LPTHREAD_START_ROUTINE worker, const wchar_t* activity);
// The tail of every close: forget, destroy, release, tell the main window.
void EndRunWindow(HWND window, HWND tooltip);

// Opens the progress or the confirm window (modeless, no owner); shows it
// unless silent. The window starts the run. None when the template fails.
HWND OpenRunWindow(int confirm, int silent, LPARAM creationParameter = 0);

bool Silent();

}  // namespace qxu
