#pragma once
// One owner for every kind of handle the updater holds: a traits struct says
// what the empty value is, which values are live and how one is given back.
#include <windows.h>

#include <utility>

namespace qxu {

template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const noexcept { return handle_; }
  bool valid() const noexcept { return Traits::Valid(handle_); }
  explicit operator bool() const noexcept { return valid(); }
  // Gives up ownership without closing; the owner is left empty.
  Handle release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle handle = Traits::Invalid()) noexcept {
    if (valid()) Traits::Close(handle_);
    handle_ = handle;
  }
  // For a function that returns a handle through a pointer; closes the
  // current one first so nothing leaks when it is overwritten.
  Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

// Kinds whose empty value is null.
template <class H>
struct NullEmptyTraits {
  using Handle = H;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static bool Valid(Handle h) noexcept { return h != nullptr; }
};

// CreateFileW and friends report failure as INVALID_HANDLE_VALUE, yet a null
// handle is never live either.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static bool Valid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { CloseHandle(h); }
};

// Threads, events and processes: their creators report failure as null.
struct KernelHandleTraits : NullEmptyTraits<HANDLE> {
  static void Close(Handle h) noexcept { CloseHandle(h); }
};

struct RegKeyTraits : NullEmptyTraits<HKEY> {
  static void Close(Handle h) noexcept { RegCloseKey(h); }
};

struct ModuleHandleTraits : NullEmptyTraits<HMODULE> {
  static void Close(Handle h) noexcept { FreeLibrary(h); }
};

struct IconHandleTraits : NullEmptyTraits<HICON> {
  static void Close(Handle h) noexcept { DestroyIcon(h); }
};

template <class H>
struct GdiObjectTraits : NullEmptyTraits<H> {
  static void Close(H h) noexcept { DeleteObject(h); }
};

using FileHandle = UniqueHandle<FileHandleTraits>;
using ThreadHandle = UniqueHandle<KernelHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using ModuleHandle = UniqueHandle<ModuleHandleTraits>;
using IconHandle = UniqueHandle<IconHandleTraits>;
template <class H>
using GdiObject = UniqueHandle<GdiObjectTraits<H>>;

}  // namespace qxu
