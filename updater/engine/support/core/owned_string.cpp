#include "engine/support/core/owned_string.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "engine/support/core/string_heap.h"

namespace qxu {

wchar_t* AllocChars(std::size_t count) {
  if (count == 0 || count >= SIZE_MAX / sizeof(wchar_t)) return nullptr;
  return static_cast<wchar_t*>(StringHeapAlloc((count + 1) * sizeof(wchar_t)));
}

wchar_t* DupString(const wchar_t* text) {
  if (!text || !*text) return nullptr;
  const std::size_t length = std::wcslen(text);
  wchar_t* copy = AllocChars(length);
  if (copy) std::memcpy(copy, text, length * sizeof(wchar_t));
  return copy;
}

wchar_t* ReplaceString(wchar_t* old, const wchar_t* text) {
  // Copy before freeing: the new value may be (part of) the old one.
  wchar_t* copy = DupString(text);
  FreeString(old);
  return copy;
}

void FreeString(wchar_t* text) { StringHeapFree(text); }

wchar_t** AllocStringList(std::size_t slots) {
  if (slots >= SIZE_MAX / sizeof(wchar_t*) - 1) return nullptr;
  return static_cast<wchar_t**>(StringHeapAlloc((slots + 1) * sizeof(wchar_t*)));
}

void FreeStringList(wchar_t** list) {
  if (!list) return;
  for (wchar_t** item = list; *item; ++item) FreeString(*item);
  StringHeapFree(list);
}

}  // namespace qxu
