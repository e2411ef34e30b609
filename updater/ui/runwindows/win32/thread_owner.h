#pragma once
// Owners of a thread handle and an icon handle.
#include <windows.h>

namespace qxu {

class ThreadHandle {
 public:
  ThreadHandle() = default;
  explicit ThreadHandle(HANDLE h) : h_(h) {}
  ~ThreadHandle() { reset(); }
  ThreadHandle(const ThreadHandle&) = delete;
  ThreadHandle& operator=(const ThreadHandle&) = delete;
  ThreadHandle(ThreadHandle&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
  ThreadHandle& operator=(ThreadHandle&& o) noexcept {
    if (this != &o) {
      reset(o.h_);
      o.h_ = nullptr;
    }
    return *this;
  }
  HANDLE get() const { return h_; }
  void reset(HANDLE h = nullptr) {
    if (h_) CloseHandle(h_);
    h_ = h;
  }

 private:
  HANDLE h_ = nullptr;
};

class IconHandle {
 public:
  IconHandle() = default;
  explicit IconHandle(HICON h) : h_(h) {}
  ~IconHandle() { reset(); }
  IconHandle(const IconHandle&) = delete;
  IconHandle& operator=(const IconHandle&) = delete;
  HICON get() const { return h_; }
  void reset(HICON h = nullptr) {
    if (h_) DestroyIcon(h_);
    h_ = h;
  }

 private:
  HICON h_ = nullptr;
};

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
