#pragma once
// Multibyte text of the process locale, or UTF-8, to wide characters.
#include <cstddef>

namespace qxu {

// Converts length bytes (no zero among them) into out, which holds at least
// length + 1 characters; returns the characters written (terminated). Stops
// early only where the locale's conversion gives up.
std::size_t ConvertLocaleText(const char* bytes, std::size_t length, wchar_t* out);

// The same for UTF-8 bytes (no byte-order mark): malformed sequences become
// U+FFFD, so the text never ends early.
std::size_t ConvertUtf8Text(const char* bytes, std::size_t length, wchar_t* out);

}  // namespace qxu
