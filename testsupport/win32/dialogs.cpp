#include "dialogs.h"

#include <cwchar>

#include "files.h"

namespace qxtest {
namespace {

constexpr wchar_t kRecorded[] = L"QxTestRecorded";
constexpr wchar_t kAnswered[] = L"QxTestAnswered";

bool IsDialog(HWND window) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  return std::wcscmp(name, L"#32770") == 0;
}

struct Collect {
  Scope scope;
  std::vector<HWND>* found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
  auto* collect = reinterpret_cast<Collect*>(param);
  if (collect->scope.kind == Scope::Kind::kProcess) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != collect->scope.id) return TRUE;
  }
  if (IsWindowVisible(window) && IsDialog(window)) collect->found->push_back(window);
  return TRUE;
}

// The watcher whose hook runs on a thread; one hooked watcher at a time.
std::mutex g_hookLock;
DialogWatcher* g_hooked = nullptr;

}  // namespace

std::vector<HWND> VisibleDialogs(Scope scope) {
  std::vector<HWND> found;
  Collect collect{scope, &found};
  if (scope.kind == Scope::Kind::kThread) {
    EnumThreadWindows(scope.id, CollectDialog, reinterpret_cast<LPARAM>(&collect));
  } else {
    EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&collect));
  }
  return found;
}

bool IsMessageBox(HWND window) { return IsDialog(window) && GetDlgItem(window, 0xFFFF) != nullptr; }

std::wstring WindowText(HWND window) {
  wchar_t text[2048] = {};
  // Sent across threads: the window's thread answers inside its modal loop.
  SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, nullptr);
  return text;
}

std::wstring ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

std::wstring MessageBoxText(HWND box) { return ItemText(box, 0xFFFF); }

bool Checked(HWND dialog, int id) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &state);
  return state == BST_CHECKED;
}

HWND WaitForDialog(Scope scope, const std::vector<HWND>& known, const wchar_t* title, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    for (HWND window : VisibleDialogs(scope)) {
      bool old = false;
      for (HWND k : known) old = old || k == window;
      if (!old && (!title || WindowText(window) == title)) return window;
    }
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

HWND WaitForWindowOfClass(DWORD processId, const wchar_t* className, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    for (HWND window = FindWindowExW(nullptr, nullptr, className, nullptr); window;
         window = FindWindowExW(nullptr, window, className, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == processId) return window;
    }
    Sleep(50);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

void Click(HWND dialog, int id) { SendNotifyMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void Answer(HWND dialog, int command) {
  SendNotifyMessageW(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, command)));
}

void Settle(HWND dialog) { SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr); }

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

DialogWatcher::DialogWatcher(Scope scope, Reply reply, DWORD threadToHook, Recorded recorded)
    : scope_(scope), reply_(std::move(reply)), recorded_(std::move(recorded)) {
  if (threadToHook) {
    std::lock_guard<std::mutex> hold(g_hookLock);
    g_hooked = this;
    hook_.Reset(SetWindowsHookExW(WH_CBT, Hook, nullptr, threadToHook));
  }
  thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
}

DialogWatcher::~DialogWatcher() { Stop(); }

void DialogWatcher::Stop() {
  if (hook_) {
    std::lock_guard<std::mutex> hold(g_hookLock);
    hook_.Reset();
    g_hooked = nullptr;
  }
  stop_ = true;
  if (thread_) {
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.Reset();
  }
}

LRESULT CALLBACK DialogWatcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    std::lock_guard<std::mutex> hold(g_hookLock);
    SeenDialog seen;
    if (g_hooked && IsDialog(reinterpret_cast<HWND>(wParam))) g_hooked->Record(reinterpret_cast<HWND>(wParam), &seen);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool DialogWatcher::Record(HWND window, SeenDialog* seen) {
  seen->window = window;
  seen->messageBox = IsMessageBox(window);
  seen->caption = WindowText(window);
  if (seen->messageBox) seen->text = MessageBoxText(window);
  // Gone meanwhile: nothing to record.
  if (!IsWindow(window)) return false;
  std::lock_guard<std::mutex> hold(lock_);
  // Marked on the window itself: a later window with the same handle is new.
  if (GetPropW(window, kRecorded)) return false;
  SetPropW(window, kRecorded, reinterpret_cast<HANDLE>(1));
  seen_.push_back(*seen);
  if (recorded_) recorded_(*seen);
  return true;
}

DWORD WINAPI DialogWatcher::Run(void* self) {
  auto* watcher = static_cast<DialogWatcher*>(self);
  while (!watcher->stop_) {
    watcher->Poll();
    Sleep(50);
  }
  return 0;
}

void DialogWatcher::Poll() {
  for (HWND window : VisibleDialogs(scope_)) {
    if (GetPropW(window, kAnswered)) continue;
    SeenDialog seen;
    Record(window, &seen);
    const int command = reply_ ? reply_(seen) : 0;
    if (command == 0) continue;
    SetPropW(window, kAnswered, reinterpret_cast<HANDLE>(1));
    NoteAnswer(window, command);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, command)));
    // The next dialog may reuse the handle: wait until this one is gone.
    for (int i = 0; i < 100 && IsWindow(window) && IsWindowVisible(window) && !stop_; ++i) Sleep(50);
  }
}

void DialogWatcher::NoteAnswer(HWND window, int command) {
  std::lock_guard<std::mutex> hold(lock_);
  for (auto seen = seen_.rbegin(); seen != seen_.rend(); ++seen) {
    if (seen->window == window) {
      seen->answeredWith = command;
      return;
    }
  }
}

std::vector<SeenDialog> DialogWatcher::Seen() const {
  std::lock_guard<std::mutex> hold(lock_);
  return seen_;
}

std::vector<std::wstring> DialogWatcher::Texts() const {
  std::vector<std::wstring> texts;
  for (const SeenDialog& seen : Seen())
    if (seen.messageBox) texts.push_back(seen.text);
  return texts;
}

std::string DialogWatcher::Describe() const {
  std::string out;
  for (const SeenDialog& seen : Seen())
    out += "[" + Narrow(seen.caption, CP_UTF8) + (seen.messageBox ? ": " + Narrow(seen.text, CP_UTF8) : "") + "] ";
  return out;
}

DialogWatcher::Reply DialogWatcher::Press(int command) {
  return [command](const SeenDialog&) { return command; };
}

DialogWatcher::Reply DialogWatcher::PressWhenEnabled(int command) {
  return [command](const SeenDialog& seen) {
    HWND button = GetDlgItem(seen.window, command);
    return button && IsWindowVisible(button) && IsWindowEnabled(button) ? command : 0;
  };
}

DialogWatcher::Reply DialogWatcher::MessageBoxesTitled(const wchar_t* caption, int command) {
  const std::wstring wanted = caption;
  return [wanted, command](const SeenDialog& seen) { return seen.messageBox && seen.caption == wanted ? command : 0; };
}

thread_local DialogCounter* DialogCounter::current_ = nullptr;

DialogCounter::DialogCounter() {
  current_ = this;
  hook_.Reset(SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId()));
}

DialogCounter::~DialogCounter() {
  hook_.Reset();
  current_ = nullptr;
}

LRESULT CALLBACK DialogCounter::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && current_ && IsDialog(reinterpret_cast<HWND>(wParam))) ++current_->created_;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

namespace {
struct ModalDrive {
  DWORD ui;
  const std::function<void(DWORD)>* drive;
};

DWORD WINAPI DriveThread(void* param) {
  auto* modal = static_cast<ModalDrive*>(param);
  (*modal->drive)(modal->ui);
  // Dialogs that the last click ends go on their own; whatever is still
  // open after that is cancelled.
  for (int waited = 0; waited < 5000 && !VisibleDialogs(Scope::Thread(modal->ui)).empty(); waited += 20) Sleep(20);
  for (int round = 0; round < 20; ++round) {
    const std::vector<HWND> open = VisibleDialogs(Scope::Thread(modal->ui));
    if (open.empty()) break;
    for (HWND window : open) Answer(window, IDCANCEL);
    Sleep(100);
  }
  return 0;
}
}  // namespace

int DriveModal(const std::function<int()>& show, const std::function<void(DWORD uiThread)>& drive) {
  ModalDrive modal{GetCurrentThreadId(), &drive};
  KernelHandle thread(CreateThread(nullptr, 0, DriveThread, &modal, 0, nullptr));
  if (!thread) return -1;
  const int result = show();
  WaitForSingleObject(thread.get(), INFINITE);
  return result;
}

}  // namespace qxtest
