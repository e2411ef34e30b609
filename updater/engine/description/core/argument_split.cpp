#include "engine/description/core/argument_split.h"

#include <cwchar>

#include "engine/support/core/owned_string.h"

namespace qxu {
namespace {

inline bool IsQuote(wchar_t c) { return c == L'"' || c == L'\''; }
inline bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
inline bool EndsToken(wchar_t c) { return c == 0 || IsSpace(c); }

// Runs the scan and hands every finished token (already stripped of a
// matching outer quote pair, never empty) to sink(text, length).
template <typename Sink>
void ScanTokens(const wchar_t* text, Sink&& sink) {
  wchar_t token[kMaxTokenChars + 1];
  std::size_t length = 0;
  bool overlong = false;

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

  // The quote that opened the current quotation; only the same kind closes it.
  wchar_t quote = 0;
  for (const wchar_t* p = text;; ++p) {
    const wchar_t c = *p;
    if (c == 0) {
      finish();
      return;
    }
    if (quote) {
      // A backslash drops the closing quote after it, unless that quote ends
      // the token: "C:\dir\" is a folder path, not an open quotation.
      if (c == L'\\' && p[1] == quote && !EndsToken(p[2])) {
        append(c);
        ++p;
        continue;
      }
      append(c);
      if (c == quote) quote = 0;
      continue;
    }
    if (IsSpace(c)) {
      finish();
    } else if (c == L'\\' && p[1] == L'"') {
      append(c);
      ++p;  // the escaped quote is dropped and opens nothing
    } else {
      // An apostrophe opens a quotation only at the start of a token, so
      // names such as Bob's stay text.
      if (c == L'"' || (c == L'\'' && length == 0)) quote = c;
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
