#pragma once
// A slim lock and its scope; the thread and icon owners come along.
#include <windows.h>

#include "engine/support/win32/unique_handle.h"

namespace qxu {

// Exclusive section over a slim reader/writer lock.
class SlimLock {
 public:
  SlimLock() { InitializeSRWLock(&lock_); }
  SlimLock(const SlimLock&) = delete;
  SlimLock& operator=(const SlimLock&) = delete;
  void lock() { AcquireSRWLockExclusive(&lock_); }
  void unlock() { ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK lock_;
};

class LockHold {
 public:
  explicit LockHold(SlimLock& l) : l_(l) { l_.lock(); }
  ~LockHold() { l_.unlock(); }
  LockHold(const LockHold&) = delete;
  LockHold& operator=(const LockHold&) = delete;

 private:
  SlimLock& l_;
};

}  // namespace qxu
