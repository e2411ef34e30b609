#include "engine/runrules/core/path_text.h"

namespace qxu {

std::wstring TrimPathEnd(const std::wstring& path) {
  std::size_t end = path.size();
  while (end > 0) {
    wchar_t c = path[end - 1];
    if (c != L' ' && c != L'\r' && c != L'\n' && c != L'\\') break;
    --end;
  }
  return path.substr(0, end);
}

std::wstring FolderPartOf(const std::wstring& path) {
  std::size_t cut = path.find_last_of(L"\\/");
  if (cut == std::wstring::npos) {
    // "C:name" keeps its drive, as the platform's path split does.
    if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2);
    return std::wstring();
  }
  return TrimPathEnd(path.substr(0, cut + 1));
}

bool IsDriveRoot(const std::wstring& path) {
  if (path.size() < 2 || path.size() > 3) return false;
  wchar_t d = path[0];
  bool letter = (d >= L'a' && d <= L'z') || (d >= L'A' && d <= L'Z');
  if (!letter || path[1] != L':') return false;
  return path.size() == 2 || path[2] == L'\\';
}

bool IsFolderRoot(const std::wstring& path) {
  auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  std::size_t end = path.size();
  while (end > 0 && separator(path[end - 1])) --end;
  const std::wstring trimmed = path.substr(0, end);
  if (trimmed.empty() || IsDriveRoot(trimmed)) return true;
  if (path.size() < 2 || !separator(path[0]) || !separator(path[1])) return false;
  // "\\server" or "\\server\share": at most one separator after the leading pair.
  std::size_t inner = 0;
  for (std::size_t i = 2; i < trimmed.size(); ++i)
    if (separator(trimmed[i])) ++inner;
  return inner <= 1;
}

std::wstring PartFilePath(const std::wstring& target) { return target + L".qxpart"; }

}  // namespace qxu
