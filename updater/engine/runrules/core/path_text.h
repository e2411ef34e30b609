// Text rules for URLs and local paths used by the downloader. Wide strings
// throughout; the rules do not depend on the width of wchar_t.
#pragma once
#include <string>

namespace qxu {

// Removes trailing spaces, carriage returns, line feeds and backslashes.
std::wstring TrimPathEnd(const std::wstring& path);

// Drive and folder part of a path (everything up to the last "\" or "/"),
// with trailing spaces, line ends and backslashes removed.
std::wstring FolderPartOf(const std::wstring& path);

// "c:" or "C:\" (a letter a-z of either case, a colon, an optional backslash).
bool IsDriveRoot(const std::wstring& path);

// True for what names no folder to create: an empty path, a bare drive
// ("C:"), or a root ("C:\", "\", "\\server\share"), trailing separators allowed.
bool IsFolderRoot(const std::wstring& path);

// Name of the temporary file a download is written to before it replaces
// its target: beside the target, so the final rename never crosses volumes.
std::wstring PartFilePath(const std::wstring& target);

}  // namespace qxu
