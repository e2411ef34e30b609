#pragma once
// Worker and tray animation threads of a run, and what they send to the
// run window.
#include <windows.h>

namespace qxu {

// Window commands exchanged by the run windows, the workers and the main window.
inline constexpr int kCommandRun = 1;       // start the download, or stop the run
inline constexpr int kCommandEnd = 2;       // the run is finished
inline constexpr int kCommandCheck = 6;     // confirm: start the check; progress: store geometry
inline constexpr int kCommandGeometry = 7;  // confirm: store geometry

inline constexpr wchar_t kActivityDownloading[] = L"ダウンロード中";
inline constexpr wchar_t kActivityChecking[] = L"チェック中";

// Starts a worker (default stack, no flags, no argument); its handle is kept
// so that the process can wait for it before freeing what it reads.
bool StartWorker(LPTHREAD_START_ROUTINE procedure);

// Starts AnimateTray with the activity text (a text that lives for the process).
bool StartTrayAnimation(const wchar_t* text);

// Thread procedure: animates the tray icon while busy is 1.
DWORD WINAPI AnimateTray(LPVOID text);

// Progress callback of the downloader: status line, both bars, taskbar.
void ReportProgress(const wchar_t* text, double value);

// Sends a window command to the run window, if one exists.
void SendRunCommand(int command);

// Waits for the threads started by this run, handling messages sent to this
// thread meanwhile. Returns false when one still runs after timeoutMs.
bool WaitForRunThreads(DWORD timeoutMs);

}  // namespace qxu
