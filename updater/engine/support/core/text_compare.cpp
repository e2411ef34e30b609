#include "engine/support/core/text_compare.h"

#include <cwchar>
#include <cwctype>

namespace qxu {

int SameText(const wchar_t* a, const wchar_t* b, int ignoreCase) {
  if (!a) a = L"";
  if (!b) b = L"";
  for (;; ++a, ++b) {
    wchar_t ca = *a, cb = *b;
    if (ignoreCase) {
      ca = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(ca)));
      cb = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(cb)));
    }
    if (ca != cb) return 0;
    if (ca == 0) return 1;
  }
}

const wchar_t* NextName(const wchar_t* position) {
  // Stepping past the closing empty name would read beyond the list.
  if (!position || !*position) return nullptr;
  const wchar_t* next = position + std::wcslen(position) + 1;
  return *next ? next : nullptr;
}

}  // namespace qxu
