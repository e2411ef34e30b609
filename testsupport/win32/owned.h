// One owner for the handles the tests hold: Traits::Close releases a value,
// Traits::Empty() is the value that owns nothing.
#pragma once
#include <windows.h>

#include <utility>

namespace qxtest {

template <typename Traits>
class Owned {
 public:
  using Value = typename Traits::Value;
  Owned() = default;
  explicit Owned(Value value) : value_(value) {}
  ~Owned() { Reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : value_(std::exchange(other.value_, Traits::Empty())) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.value_, Traits::Empty()));
    return *this;
  }
  Value get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::Empty() && value_ != Value(); }
  void Reset(Value value = Traits::Empty()) {
    if (*this) Traits::Close(value_);
    value_ = value;
  }

 private:
  Value value_ = Traits::Empty();
};

struct KernelTraits {  // processes, threads, events, files
  using Value = HANDLE;
  static Value Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Value value) { CloseHandle(value); }
};
struct FindTraits {
  using Value = HANDLE;
  static Value Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Value value) { FindClose(value); }
};
struct ModuleTraits {
  using Value = HMODULE;
  static Value Empty() { return nullptr; }
  static void Close(Value value) { FreeLibrary(value); }
};
struct WindowTraits {
  using Value = HWND;
  static Value Empty() { return nullptr; }
  static void Close(Value value) { DestroyWindow(value); }
};
struct HookTraits {
  using Value = HHOOK;
  static Value Empty() { return nullptr; }
  static void Close(Value value) { UnhookWindowsHookEx(value); }
};

using KernelHandle = Owned<KernelTraits>;
using FindHandle = Owned<FindTraits>;
using ModuleHandle = Owned<ModuleTraits>;
using WindowHandle = Owned<WindowTraits>;
using HookHandle = Owned<HookTraits>;

}  // namespace qxtest
