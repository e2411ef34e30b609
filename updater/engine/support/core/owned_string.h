#pragma once
// Owned UTF-16 strings (wchar_t; UTF-32 in the native build, where only the
// portable logic is exercised). "None" is the null pointer and an empty value
// is never stored: it becomes none.
#include <cstddef>
#include <memory>

namespace qxu {

// Owned copy of text, or none for a missing or empty text or when memory runs out.
wchar_t* DupString(const wchar_t* text);
// Frees old and returns DupString(text); text may point into old.
wchar_t* ReplaceString(wchar_t* old, const wchar_t* text);
// Zeroed block of count + 1 characters; none for count 0 or when memory runs out.
wchar_t* AllocChars(std::size_t count);
// Frees an owned string; none is allowed.
void FreeString(wchar_t* text);

// Null-terminated list of owned strings in one owned block of pointers.
wchar_t** AllocStringList(std::size_t slots);  // slots + 1 zeroed pointers
void FreeStringList(wchar_t** list);           // frees every string, then the list

struct StringDeleter {
  void operator()(wchar_t* text) const { FreeString(text); }
};
struct StringListDeleter {
  void operator()(wchar_t** list) const { FreeStringList(list); }
};
using OwnedString = std::unique_ptr<wchar_t, StringDeleter>;
using OwnedStringList = std::unique_ptr<wchar_t*, StringListDeleter>;

}  // namespace qxu
