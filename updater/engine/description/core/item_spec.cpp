#include "engine/description/core/item_spec.h"

#include <cwchar>
#include <cwctype>
#include <initializer_list>

namespace qxu {
namespace {

bool CopyPart(const wchar_t* start, std::size_t length, wchar_t* out, std::size_t outSize) {
  if (!out || length >= outSize) return false;
  std::wmemcpy(out, start, length);
  out[length] = 0;
  return true;
}

// Joins parts into out, or leaves out empty and says false when they do not fit.
bool Join(std::initializer_list<const wchar_t*> parts, wchar_t* out, std::size_t outSize,
          std::size_t limit) {
  if (!out || outSize == 0) return false;
  std::size_t used = 0;
  for (const wchar_t* part : parts) {
    const std::size_t length = part ? std::wcslen(part) : 0;
    if (length > limit - used || used + length >= outSize) {
      out[0] = 0;
      return false;
    }
    std::wmemcpy(out + used, part, length);
    used += length;
  }
  out[used] = 0;
  return true;
}

}  // namespace

int SplitItemSpec(const wchar_t* item, wchar_t* urlFolder, std::size_t urlFolderSize,
                  wchar_t* fileName, std::size_t fileNameSize, wchar_t* localPath,
                  std::size_t localPathSize) {
  if (!item || !*item) return 0;
  const std::size_t itemLength = std::wcslen(item);
  const wchar_t* semicolon = std::wcschr(item, L';');
  const std::size_t urlLength = semicolon ? static_cast<std::size_t>(semicolon - item) : itemLength;

  const wchar_t* lastSlash = nullptr;
  for (const wchar_t* p = item; p < item + urlLength; ++p)
    if (*p == L'/') lastSlash = p;

  // Everything is checked before anything is written.
  std::size_t folderLength = urlLength, nameStart = 0;
  if (lastSlash) {
    folderLength = static_cast<std::size_t>(lastSlash - item) + 1;
    nameStart = folderLength;
  }
  const std::size_t nameLength = urlLength - nameStart;
  const std::size_t localLength = semicolon ? itemLength - urlLength - 1 : 0;
  if (!urlFolder || folderLength >= urlFolderSize || !fileName || nameLength >= fileNameSize ||
      (localPath && localLength >= localPathSize))
    return 0;

  CopyPart(item, folderLength, urlFolder, urlFolderSize);
  CopyPart(item + nameStart, nameLength, fileName, fileNameSize);
  if (localPath) CopyPart(semicolon ? semicolon + 1 : L"", localLength, localPath, localPathSize);
  return 1;
}

int MakeDownloadUrl(const wchar_t* urlFolder, const wchar_t* fileName, wchar_t* out,
                    std::size_t outSize) {
  return Join({urlFolder, fileName}, out, outSize, kMaxUrlChars) ? 1 : 0;
}

int IsSecureUrl(const wchar_t* url) {
  static const wchar_t kScheme[] = L"https:";
  if (!url) return 0;
  for (int i = 0; kScheme[i]; ++i)
    if (std::towlower(static_cast<std::wint_t>(url[i])) != static_cast<std::wint_t>(kScheme[i]))
      return 0;
  return 1;
}

int MakeItemLocalPath(const wchar_t* localPath, const wchar_t* startFolder,
                      const wchar_t* fileName, wchar_t* out, std::size_t outSize) {
  constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);
  if (localPath && *localPath) return Join({localPath}, out, outSize, kNoLimit) ? 1 : 0;
  return Join({startFolder, L"\\", fileName}, out, outSize, kNoLimit) ? 1 : 0;
}

}  // namespace qxu
