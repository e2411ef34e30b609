#pragma once
// Owner of an open registry key.
#include <windows.h>

namespace qxu {

class RegKey {
 public:
  RegKey() = default;
  ~RegKey() { reset(); }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : key_(other.key_) { other.key_ = nullptr; }
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      reset();
      key_ = other.key_;
      other.key_ = nullptr;
    }
    return *this;
  }
  // Opens subKey of parent for reading; false when it cannot be opened.
  bool OpenRead(HKEY parent, const wchar_t* subKey) {
    reset();
    if (RegOpenKeyExW(parent, subKey, 0, KEY_READ, &key_) == ERROR_SUCCESS) return true;
    key_ = nullptr;
    return false;
  }
  HKEY get() const { return key_; }
  HKEY* put() {
    reset();
    return &key_;
  }
  void reset() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace qxu
