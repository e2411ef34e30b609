#pragma once
// Text of an update description file: UTF-8 (with or without the byte-order
// mark), else bytes in the multibyte code page of the process locale (code
// page 932 once the process set the locale "jpn").
#include <cstddef>

namespace qxu {

// Converts bytes up to the first zero byte (or size) and splits the result
// with SplitArguments. A byte-order mark, or well-formed UTF-8 with bytes
// beyond ASCII, makes it UTF-8; anything else is text of the current locale.
// None (count 0) when there is nothing to convert or memory runs out.
wchar_t** SplitDescriptionBytes(const char* bytes, std::size_t size, int* count);

}  // namespace qxu
