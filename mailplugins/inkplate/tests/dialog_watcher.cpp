#include "dialog_watcher.h"

#include <cstring>

namespace {

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  if (process == search->process && IsWindowVisible(window) && std::strcmp(name, "#32770") == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

DialogWatcher::DialogWatcher(int buttonId)
    : buttonId_(buttonId),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      thread_(CreateThread(nullptr, 0, Run, this, 0, nullptr)) {}

DialogWatcher::~DialogWatcher() { Finish(); }

bool DialogWatcher::Finish() {
  if (!joined_ && thread_.get()) {
    SetEvent(stop_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
  }
  joined_ = true;
  return pressed_ != 0;
}

DWORD WINAPI DialogWatcher::Run(void* self) {
  static_cast<DialogWatcher*>(self)->Watch();
  return 0;
}

void DialogWatcher::Watch() {
  // Up to a minute: the first dialog of a Wine prefix may take a while.
  for (int i = 0; i < 600; ++i) {
    Search search = {GetCurrentProcessId(), nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    HWND button = search.found ? GetDlgItem(search.found, buttonId_) : nullptr;
    if (button && IsWindowVisible(button) && IsWindowEnabled(button)) {
      char text[256] = {};
      GetWindowTextA(search.found, text, sizeof text);
      title_ = text;
      // What a click on the button sends to its dialog.
      PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(buttonId_, BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
      InterlockedExchange(&pressed_, 1);
      return;
    }
    if (WaitForSingleObject(stop_.get(), 100) == WAIT_OBJECT_0) return;
  }
}

int DialogCounter::created_ = 0;

DialogCounter::DialogCounter()
    : hook_(SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId())) {
  created_ = 0;
}

DialogCounter::~DialogCounter() {
  if (hook_) UnhookWindowsHookEx(hook_);
}

LRESULT CALLBACK DialogCounter::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    char name[32] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
    if (std::strcmp(name, "#32770") == 0) ++created_;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
