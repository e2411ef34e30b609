// Owners of the handles a print job holds, released on every path.
#pragma once

#include <windows.h>

namespace inkplate {

template <typename Handle, BOOL(WINAPI* Release)(Handle)>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() {
    if (handle_) Release(handle_);
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      if (handle_) Release(handle_);
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

inline BOOL WINAPI FreeGlobal(HGLOBAL memory) { return GlobalFree(memory) == nullptr; }

using OwnedDc = Owned<HDC, DeleteDC>;
using OwnedGlobal = Owned<HGLOBAL, FreeGlobal>;

}  // namespace inkplate
