#pragma once
// Opening and writing the keys of a file association.
#include <windows.h>

#include "engine/support/win32/unique_handle.h"

namespace qxu {

// Creates or opens parent\subKey for every access into key, which is closed
// first; false when it fails.
inline bool CreateRegistryKey(RegKey& key, HKEY parent, const wchar_t* subKey) {
  key.reset();
  HKEY created = nullptr;
  if (!parent || RegCreateKeyExW(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                 nullptr, &created, nullptr) != ERROR_SUCCESS)
    return false;
  key.reset(created);
  return true;
}

inline bool OpenRegistryKey(RegKey& key, HKEY parent, const wchar_t* subKey, REGSAM access) {
  key.reset();
  HKEY opened = nullptr;
  if (!parent || RegOpenKeyExW(parent, subKey, 0, access, &opened) != ERROR_SUCCESS) return false;
  key.reset(opened);
  return true;
}

// The unnamed value as REG_SZ, terminator counted; failures go unnoticed.
inline void SetDefaultText(const RegKey& key, const wchar_t* text) {
  if (!key) return;
  if (!text) text = L"";
  RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(wchar_t)));
}

}  // namespace qxu
