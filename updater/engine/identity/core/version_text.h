#pragma once
// Version text and program path pieces of the program identity.
#include <cstddef>

namespace qxu {

// "Version %.2f", with ".%02ld" for a minor number and " b%ld" for a build
// number, of version / 100. Returns the length, or 0 when out is too small.
std::size_t FormatVersionText(unsigned long version, long minor, long build, wchar_t* out,
                              std::size_t outSize);

// Splits a full program path into folder (drive and folder, ending in the
// separator; empty when there is none) and base name (file name without its
// last extension). 0 when a part does not fit its buffer.
int SplitProgramPath(const wchar_t* path, wchar_t* folder, std::size_t folderSize,
                     wchar_t* baseName, std::size_t baseNameSize);

}  // namespace qxu
