#include "engine/description/core/argument_split.h"

#include <cwchar>

#include "engine/support/core/owned_string.h"

namespace qxu {
namespace {

inline bool IsQuote(wchar_t c) { return c == L'"' || c == L'\''; }
inline bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Runs the scan and hands every finished token (already stripped of a
// matching outer quote pair, never empty) to sink(text, length).
template <typename Sink>
void ScanTokens(const wchar_t* text, Sink&& sink) {
  wchar_t token[kMaxTokenChars + 1];
  std::size_t length = 0;
  bool overlong = false;
  bool inQuote = false;

  auto append = [&](wchar_t c) {
    if (length < kMaxTokenChars)
      token[length++] = c;
    else
      overlong = true;
  };
  auto finish = [&]() {
    if (length > 0 && !overlong) {
      const wchar_t* start = token;
      std::size_t size = length;
      if (IsQuote(token[0]) && token[length - 1] == token[0]) {
        start = token + 1;
        size = length >= 2 ? length - 2 : 0;
      }
      if (size > 0) sink(start, size);
    }
    length = 0;
    overlong = false;
  };

  for (const wchar_t* p = text;; ++p) {
    const wchar_t c = *p;
    if (c == 0) {
      finish();
      return;
    }
    if (IsQuote(c)) {
      append(c);
      inQuote = !inQuote;
    } else if (c == L'\\' && IsQuote(p[1])) {
      append(c);
      ++p;  // the escaped quote is dropped and flips nothing
    } else if (IsSpace(c) && !inQuote) {
      finish();
    } else {
      append(c);
    }
  }
}

}  // namespace

wchar_t** SplitArguments(const wchar_t* text, int* count) {
  if (count) *count = 0;
  if (!text) text = L"";

  std::size_t total = 0;
  ScanTokens(text, [&](const wchar_t*, std::size_t) { ++total; });
  wchar_t** list = AllocStringList(total);
  if (!list) return nullptr;

  std::size_t stored = 0;
  bool outOfMemory = false;
  ScanTokens(text, [&](const wchar_t* start, std::size_t size) {
    if (outOfMemory) return;
    wchar_t* copy = AllocChars(size);
    if (!copy) {
      outOfMemory = true;  // keep the tokens made so far
      return;
    }
    std::wmemcpy(copy, start, size);
    list[stored++] = copy;
  });
  if (count) *count = static_cast<int>(stored);
  return list;
}

}  // namespace qxu
