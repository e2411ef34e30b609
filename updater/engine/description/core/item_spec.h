#pragma once
// An item item names one file to update: URL, or URL ";" local path.
#include <cstddef>

namespace qxu {

// Longest download URL taken; longer ones are refused, never cut.
inline constexpr std::size_t kMaxUrlChars = 1023;

// Splits item into url folder (up to and including the last "/"), file name
// (after it) and local path (after the first ";"; localPath may be none).
// Without "/" both url folder and file name are the whole url part.
// 0 for an empty item or a part that does not fit its buffer (buffer sizes
// in characters, terminator included); else 1.
int SplitItemSpec(const wchar_t* item, wchar_t* urlFolder, std::size_t urlFolderSize,
                  wchar_t* fileName, std::size_t fileNameSize, wchar_t* localPath,
                  std::size_t localPathSize);

// Download URL = url folder + file name. 0 when it is longer than
// kMaxUrlChars or does not fit out; else 1.
int MakeDownloadUrl(const wchar_t* urlFolder, const wchar_t* fileName, wchar_t* out,
                    std::size_t outSize);

// 1 when url starts with "https:" in any letter case.
int IsSecureUrl(const wchar_t* url);

// The item's local path when not empty, else startFolder + "\" + fileName.
// 0 when the result does not fit out; else 1.
int MakeItemLocalPath(const wchar_t* localPath, const wchar_t* startFolder,
                      const wchar_t* fileName, wchar_t* out, std::size_t outSize);

}  // namespace qxu
