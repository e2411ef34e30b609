#pragma once
// The threads of a run: the pass's worker and the tray animation. Their
// handles are kept so that the process can wait for them before freeing
// what they read.
#include <windows.h>

#include <atomic>
#include <vector>

#include "ui/runwindows/win32/thread_owner.h"

namespace qxu {

class RunThreads {
 public:
  RunThreads() = default;
  RunThreads(const RunThreads&) = delete;
  RunThreads& operator=(const RunThreads&) = delete;

  // Starts procedure(argument) with the default stack and no flags.
  bool Start(LPTHREAD_START_ROUTINE procedure, void* argument);
  // Waits for every thread started, handling messages sent to this thread
  // meanwhile. False when one still runs after timeoutMs.
  bool WaitAll(DWORD timeoutMs);

  // Each tray animation takes the next number; an older one stops when it
  // sees a newer one, so at most one animates at a time.
  int NextAnimation() { return ++animation_; }
  bool IsLatestAnimation(int number) const { return animation_ == number; }

 private:
  SlimLock lock_;
  std::vector<ThreadHandle> threads_;
  std::atomic<int> animation_{0};
};

}  // namespace qxu
