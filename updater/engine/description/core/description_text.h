#pragma once
// Text of an update description file: bytes in the multibyte code page of the
// process locale (code page 932 once the process set the locale "jpn").
#include <cstddef>

namespace qxu {

// Converts bytes up to the first zero byte (or size) as text of the current
// locale (ConvertLocaleText) and splits the result with SplitArguments.
// None (count 0) when there is nothing to convert or memory runs out.
wchar_t** SplitDescriptionBytes(const char* bytes, std::size_t size, int* count);

}  // namespace qxu
