#include <windows.h>

#include <vector>

#include "engine/download/win32/http_downloader.h"
#include "engine/runrules/core/path_text.h"

namespace qxu {
namespace {

// TrimPathEnd, and forward slashes too, so "a/b/" walks up to "a".
std::wstring TrimFolderEnd(std::wstring path) {
  for (;;) {
    path = TrimPathEnd(path);
    if (path.empty() || path.back() != L'/') return path;
    path.pop_back();
  }
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int HttpDownloader::MakeFolders(const wchar_t* path) {
  if (!path) return 0;
  const std::wstring full = TrimFolderEnd(path);
  if (IsFolderRoot(full)) return 0;
  // The folder, then each missing parent up to the first that exists. Every
  // step must shorten the path, so no name can make it loop.
  std::vector<std::wstring> missing{full};
  for (;;) {
    const std::wstring parent = TrimFolderEnd(FolderPartOf(missing.back()));
    if (parent.empty() || parent.size() >= missing.back().size() || IsFolderRoot(parent) || IsFolder(parent))
      break;
    missing.push_back(parent);
  }
  BOOL created = FALSE;
  for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder)
    created = CreateDirectoryW(folder->c_str(), nullptr);
  return created ? 1 : 0;
}

}  // namespace qxu
