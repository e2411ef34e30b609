#include "ui/runwindows/win32/worker_threads.h"

namespace qxu {

bool RunThreads::Start(LPTHREAD_START_ROUTINE procedure, void* argument) {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, procedure, argument, 0, &id);
  if (!thread) return false;
  LockHold hold(lock_);
  threads_.emplace_back(thread);
  return true;
}

bool RunThreads::WaitAll(DWORD timeoutMs) {
  std::vector<HANDLE> handles;
  {
    LockHold hold(lock_);
    for (auto& t : threads_) handles.push_back(t.get());
  }
  const DWORD start = GetTickCount();
  for (HANDLE h : handles) {
    for (;;) {
      const DWORD spent = GetTickCount() - start;
      if (spent >= timeoutMs) return WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
      const DWORD r = MsgWaitForMultipleObjects(1, &h, FALSE, timeoutMs - spent, QS_SENDMESSAGE);
      if (r == WAIT_OBJECT_0) break;
      if (r != WAIT_OBJECT_0 + 1) return false;
      // A worker may be waiting in a send to a window of this thread.
      MSG m;
      PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
  }
  return true;
}

}  // namespace qxu
