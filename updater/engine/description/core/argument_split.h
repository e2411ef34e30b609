#pragma once
// The tokenizer shared by the command line and update description files.
#include <cstddef>

namespace qxu {

// Longest token taken (the work buffer holds 1024 characters with the
// terminator). Longer tokens are refused: left out whole, never cut.
inline constexpr std::size_t kMaxTokenChars = 1023;

// Splits text into tokens at whitespace outside quotations. A double quote
// opens a quotation anywhere, an apostrophe only at the start of a token; only
// the kind that opened it closes it. A matching outer pair is removed. Gives
// the owned, null-terminated list (free it with FreeStringList) and the count. An empty or missing text gives an empty
// list; none (count 0) only when even the list cannot be allocated.
wchar_t** SplitArguments(const wchar_t* text, int* count);

}  // namespace qxu
