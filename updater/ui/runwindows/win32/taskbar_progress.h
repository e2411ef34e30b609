#pragma once
// The process's one taskbar list object (ITaskbarList3), or none when the
// platform has none. Used from the window, worker and animation threads,
// so every call runs under one lock.
#include <windows.h>
#include <shobjidl.h>

#include "ui/runwindows/win32/thread_owner.h"

namespace qxu {

class TaskbarProgress {
 public:
  // Makes the platform object; replaceable to stand for a system without one.
  using Factory = HRESULT (*)(void** object);
  static HRESULT CreatePlatformObject(void** object);

  TaskbarProgress() = default;
  ~TaskbarProgress() { Release(); }
  TaskbarProgress(const TaskbarProgress&) = delete;
  TaskbarProgress& operator=(const TaskbarProgress&) = delete;

  // Creates the object when there is none; a failure leaves none.
  bool Create();
  void Release();
  bool Exists();

  void SetValue(HWND window, ULONGLONG done, ULONGLONG total);
  void SetState(HWND window, TBPFLAG state);
  void SetOverlay(HWND window, HICON icon);
  void SetFactory(Factory factory) { factory_ = factory; }

 private:
  SlimLock lock_;
  ITaskbarList3* list_ = nullptr;
  Factory factory_ = CreatePlatformObject;
};

}  // namespace qxu
