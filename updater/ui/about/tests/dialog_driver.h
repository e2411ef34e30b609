#pragma once
// Drives modal dialogs of the test's main thread from a second thread, as a
// user would: wait for a window to appear, read it, press its buttons.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qxu::testing {

inline BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (IsWindowVisible(window) && std::wstring(className) == L"#32770")
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

// Visible dialog windows (class #32770) of a thread, top-level and owned.
inline std::vector<HWND> ThreadDialogs(DWORD threadId) {
  std::vector<HWND> found;
  EnumThreadWindows(threadId, CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

inline std::wstring WindowText(HWND window) {
  wchar_t text[2048] = {};
  // Sent across threads: the dialog's thread answers inside its modal loop.
  SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                      nullptr);
  return text;
}

inline std::wstring ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// The static text of a message box: the longest text among its children.
inline std::wstring MessageBoxText(HWND box) {
  std::wstring best;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[32] = {};
    GetClassNameW(child, className, 32);
    if (std::wstring(className) != L"Static") continue;
    std::wstring text = WindowText(child);
    if (text.size() > best.size()) best = text;
  }
  return best;
}

// Waits up to timeoutMs for a dialog of threadId that is not in known (and
// has the given title when one is given).
inline HWND WaitForDialog(DWORD threadId, const std::vector<HWND>& known,
                          const wchar_t* title = nullptr, int timeoutMs = 10000) {
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    for (HWND window : ThreadDialogs(threadId)) {
      bool old = false;
      for (HWND k : known) old = old || k == window;
      if (old) continue;
      if (title && WindowText(window) != title) continue;
      return window;
    }
    Sleep(20);
  }
  return nullptr;
}

// Presses a button the way a click does (check boxes change their state),
// without waiting for what the click starts. Sent, not posted: sent messages
// are handled in order, so a later Settle waits for the click.
inline void Click(HWND dialog, int id) { SendNotifyMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Ends a dialog or message box through its command.
inline void Answer(HWND dialog, int command) {
  SendNotifyMessageW(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
}

// Waits until the dialog's thread has handled the messages sent so far (or
// has entered a modal loop that one of them opened).
inline void Settle(HWND dialog) {
  SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
}

inline bool Checked(HWND dialog, int id) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &state);
  return state == BST_CHECKED;
}

// Runs drive on a second thread while the calling thread runs show (which
// shows a modal dialog). Should drive leave dialogs open, they are cancelled
// so that show returns.
class ModalDriver {
 public:
  using Drive = std::function<void(DWORD uiThread)>;

  static int Run(const std::function<int()>& show, Drive drive) {
    ModalDriver driver{GetCurrentThreadId(), std::move(drive)};
    HANDLE thread = CreateThread(nullptr, 0, &ModalDriver::Main, &driver, 0, nullptr);
    if (!thread) return -1;
    const int result = show();
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return result;
  }

 private:
  ModalDriver(DWORD ui, Drive drive) : ui_(ui), drive_(std::move(drive)) {}
  static DWORD WINAPI Main(void* param) {
    auto* self = static_cast<ModalDriver*>(param);
    self->drive_(self->ui_);
    // Dialogs that the last click ends go on their own; whatever is still
    // open after that is cancelled.
    for (int waited = 0; waited < 5000 && !ThreadDialogs(self->ui_).empty(); waited += 20) Sleep(20);
    for (int round = 0; round < 20; ++round) {
      std::vector<HWND> open = ThreadDialogs(self->ui_);
      if (open.empty()) break;
      for (HWND window : open) Answer(window, IDCANCEL);
      Sleep(100);
    }
    return 0;
  }

  DWORD ui_;
  Drive drive_;
};

}  // namespace qxu::testing
