// Dialogs and message boxes as a user meets them: found by their owner,
// read, answered, and watched for from a thread of their own.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "owned.h"

namespace qxtest {

// Whose windows a search looks at.
struct Scope {
  enum class Kind { kProcess, kThread, kAnyProcess };
  Kind kind;
  DWORD id;
  static Scope ThisProcess() { return {Kind::kProcess, GetCurrentProcessId()}; }
  static Scope Process(DWORD id) { return {Kind::kProcess, id}; }
  static Scope Thread(DWORD id) { return {Kind::kThread, id}; }
  static Scope AnyProcess() { return {Kind::kAnyProcess, 0}; }
};

// Visible dialog windows (class #32770) of the scope, top-level and owned.
std::vector<HWND> VisibleDialogs(Scope scope);
// A dialog with the static text control of a message box.
bool IsMessageBox(HWND window);
// The window's text, asked across threads with a time limit.
std::wstring WindowText(HWND window);
std::wstring ItemText(HWND dialog, int id);
// The text of a message box (its control 0xFFFF).
std::wstring MessageBoxText(HWND box);
bool Checked(HWND dialog, int id);

// Waits up to timeoutMs for a visible dialog of the scope that is not among
// known and, when title is given, has that title.
HWND WaitForDialog(Scope scope, const std::vector<HWND>& known = {}, const wchar_t* title = nullptr,
                   DWORD timeoutMs = 20000);
// Waits for a top-level window of the class in the process.
HWND WaitForWindowOfClass(DWORD processId, const wchar_t* className, DWORD timeoutMs = 20000);

// Presses a button the way a click does (check boxes change their state),
// without waiting for what the click starts.
void Click(HWND dialog, int id);
// Ends a dialog or message box through its command.
void Answer(HWND dialog, int command);
// Waits until the dialog's thread has handled the messages sent so far (or
// has entered a modal loop that one of them opened).
void Settle(HWND dialog);

// Pumps this thread's messages until done() holds or timeoutMs passes.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// A dialog as the watcher saw it come up.
struct SeenDialog {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;  // a message box's text, else empty
  bool messageBox = false;
  int answeredWith = 0;  // the command the watcher answered it with, 0 if none
};

// Watches a scope from a thread of its own. Every dialog that comes up is
// recorded once, in order, and handed to the reply, which may fill it in
// and returns the command that answers it (0 leaves it alone). Dialogs of
// threadToHook are also recorded as they are activated, so that one closed
// by someone else before a poll still counts. recorded, when given, runs as
// each dialog is recorded, in order, on the thread that saw it (the hooked
// thread while the dialog comes up), for facts of that moment; it must not
// call the watcher.
class DialogWatcher {
 public:
  using Reply = std::function<int(const SeenDialog&)>;
  using Recorded = std::function<void(const SeenDialog&)>;
  DialogWatcher(Scope scope, Reply reply, DWORD threadToHook = 0, Recorded recorded = nullptr);
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  // Ends the watch; the records are complete afterwards.
  void Stop();
  std::vector<SeenDialog> Seen() const;
  std::vector<std::wstring> Texts() const;  // the message boxes' texts
  // The dialogs seen, as text for assertion messages.
  std::string Describe() const;

  // Replies for the common cases.
  static Reply Press(int command);
  static Reply PressWhenEnabled(int command);  // waits for the button first
  static Reply MessageBoxesTitled(const wchar_t* caption, int command = IDOK);

 private:
  static DWORD WINAPI Run(void* self);
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  void Poll();
  bool Record(HWND window, SeenDialog* seen);
  void NoteAnswer(HWND window, int command);

  Scope scope_;
  Reply reply_;
  Recorded recorded_;
  std::atomic<bool> stop_{false};
  mutable std::mutex lock_;
  std::vector<SeenDialog> seen_;
  HookHandle hook_;
  KernelHandle thread_;
};

// Counts the dialogs created on this thread while it lives.
class DialogCounter {
 public:
  DialogCounter();
  ~DialogCounter();
  DialogCounter(const DialogCounter&) = delete;
  DialogCounter& operator=(const DialogCounter&) = delete;
  int count() const { return created_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  static thread_local DialogCounter* current_;
  int created_ = 0;
  HookHandle hook_;
};

// Runs show on this thread (it shows a modal dialog) while drive works on a
// second thread, as a user would. Dialogs that drive leaves open are
// cancelled, so that show returns.
int DriveModal(const std::function<int()>& show, const std::function<void(DWORD uiThread)>& drive);

}  // namespace qxtest
