// Answers the print dialog from another thread the way a user would, and
// counts the dialogs a call creates on the calling thread.
#pragma once

#include <windows.h>

#include <string>

#include "scoped_handle.h"

class DialogWatcher {
 public:
  // Waits for a visible dialog of this process, then presses its button
  // with this identifier (IDOK, IDCANCEL).
  explicit DialogWatcher(int buttonId);
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  // Stops waiting; true when the button was pressed.
  bool Finish();
  const std::string& title() const { return title_; }

 private:
  static DWORD WINAPI Run(void* self);
  void Watch();

  int buttonId_;
  volatile LONG pressed_ = 0;
  std::string title_;
  bool joined_ = false;
  ScopedHandle stop_;
  // Last: the thread starts once everything it touches exists.
  ScopedHandle thread_;
};

// Counts dialog windows created on this thread while it lives.
class DialogCounter {
 public:
  DialogCounter();
  ~DialogCounter();
  DialogCounter(const DialogCounter&) = delete;
  DialogCounter& operator=(const DialogCounter&) = delete;

  int count() const { return created_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  static int created_;
  HHOOK hook_;
};
