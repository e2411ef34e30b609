#pragma once
// Telling UTF-8 text from code page 932 text by its bytes.
#include <cstddef>

namespace qxu {

// True when the bytes start with the UTF-8 byte-order mark EF BB BF.
bool HasUtf8Mark(const char* bytes, std::size_t length);

// Length of the well-formed UTF-8 sequence at bytes (1 to 4) with its code
// point in *codePoint; 0 for a malformed one (stray or missing continuation
// bytes, overlong forms, surrogates, beyond U+10FFFF).
std::size_t DecodeUtf8Char(const char* bytes, std::size_t length, char32_t* codePoint);

// True for well-formed UTF-8 with at least one byte outside ASCII. Plain
// ASCII reads the same either way; Shift-JIS text almost never passes.
bool IsUtf8Text(const char* bytes, std::size_t length);

}  // namespace qxu
