#include <windows.h>

#include "http_downloader.h"
#include "path_text.h"

namespace qxu {

int HttpDownloader::MakeFolders(const wchar_t* path) {
  if (!path) return 0;
  const std::wstring full = TrimPathEnd(path);
  if (wcslen(path) < 3 || full.empty()) return 0;
  const std::wstring parent = FolderPartOf(full);
  if (parent.size() > 2 && !IsDriveRoot(parent)) {
    const DWORD attributes = GetFileAttributesW(parent.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      MakeFolders(parent.c_str());
  }
  return CreateDirectoryW(full.c_str(), nullptr) ? 1 : 0;
}

}  // namespace qxu
