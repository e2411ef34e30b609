#pragma once
// Reading an update description file (".quf").

namespace qxu {

// Reads the whole file, converts it up to its first zero byte (UTF-8 or text
// of the process locale, see SplitDescriptionBytes) and splits it into tokens
// (list freed with FreeStringList). None (count 0) when the file cannot be opened, held in memory or read, or
// is empty.
wchar_t** ReadDescriptionFile(const wchar_t* path, int* count);

}  // namespace qxu
