#pragma once
// Owner of an open registry key.
#include <windows.h>

namespace qxu {

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() { reset(); }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  void reset() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

  // Creates or opens parent\subKey for every access; false when it fails.
  bool Create(HKEY parent, const wchar_t* subKey) {
    reset();
    HKEY key = nullptr;
    if (!parent || RegCreateKeyExW(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
      return false;
    key_ = key;
    return true;
  }

  bool Open(HKEY parent, const wchar_t* subKey, REGSAM access) {
    reset();
    HKEY key = nullptr;
    if (!parent || RegOpenKeyExW(parent, subKey, 0, access, &key) != ERROR_SUCCESS) return false;
    key_ = key;
    return true;
  }

  // The unnamed value as REG_SZ, terminator counted; failures go unnoticed.
  void SetDefaultText(const wchar_t* text) const {
    if (!key_) return;
    if (!text) text = L"";
    RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(wchar_t)));
  }

 private:
  HKEY key_ = nullptr;
};

}  // namespace qxu
