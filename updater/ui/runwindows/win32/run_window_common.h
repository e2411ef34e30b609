#pragma once
// Steps that the confirm window and the progress window share, and the
// window commands exchanged by the run windows and the main window.
#include <windows.h>

namespace qxu {

class RunWindows;

inline constexpr int kCommandRun = 1;       // start the download, or stop the run
inline constexpr int kCommandEnd = 2;       // the run is finished
inline constexpr int kCommandCheck = 6;     // confirm: start the check; progress: store geometry
inline constexpr int kCommandGeometry = 7;  // confirm: store geometry

inline constexpr wchar_t kActivityDownloading[] = L"ダウンロード中";
inline constexpr wchar_t kActivityChecking[] = L"チェック中";

// Large and small window icon (icon 10).
void SetRunWindowIcons(RunWindows& w, HWND window);
// Hidden and of size zero.
void HideSilently(HWND window);
// Range 0..1000, step 1, position 0.
void ResetBar(HWND bar);
// Creates the taskbar object when there is none and resets it for the window.
void ResetTaskbar(RunWindows& w, HWND window);
// Top-most and back, both times shown, neither moved nor sized.
void BringToFront(HWND window);
// The tail of every close: forget, destroy, release, tell the main window.
void EndRunWindow(RunWindows& w, HWND window, HWND tooltip);

// Opens the progress or the confirm window (modeless, no owner) over w;
// shows it unless silent. The window starts the run. None when the
// template fails.
HWND OpenRunWindowOf(RunWindows& w, bool confirm, bool silent);

}  // namespace qxu
