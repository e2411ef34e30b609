#include "engine/identity/core/version_text.h"

#include <cstdio>
#include <cwchar>

namespace qxu {

std::size_t FormatVersionText(unsigned long version, long minor, long build, wchar_t* out,
                              std::size_t outSize) {
  char text[128];
  const double number = version / 100.0;
  int length;
  if (minor == 0 && build == 0)
    length = std::snprintf(text, sizeof text, "Version %.2f", number);
  else if (build == 0)
    length = std::snprintf(text, sizeof text, "Version %.2f.%02ld", number, minor);
  else if (minor == 0)
    length = std::snprintf(text, sizeof text, "Version %.2f b%ld", number, build);
  else
    length = std::snprintf(text, sizeof text, "Version %.2f.%02ld b%ld", number, minor, build);
  if (length < 0 || !out || static_cast<std::size_t>(length) >= outSize) return 0;
  for (int i = 0; i <= length; ++i) out[i] = static_cast<unsigned char>(text[i]);
  return static_cast<std::size_t>(length);
}

int SplitProgramPath(const wchar_t* path, wchar_t* folder, std::size_t folderSize,
                     wchar_t* baseName, std::size_t baseNameSize) {
  if (!path || !folder || !baseName) return 0;
  const std::size_t length = std::wcslen(path);
  std::size_t nameStart = 0;
  for (std::size_t i = 0; i < length; ++i)
    if (path[i] == L'\\' || path[i] == L'/' || (i == 1 && path[i] == L':')) nameStart = i + 1;
  std::size_t nameEnd = length;
  for (std::size_t i = length; i > nameStart; --i)
    if (path[i - 1] == L'.') {
      nameEnd = i - 1;
      break;
    }
  if (nameStart >= folderSize || nameEnd - nameStart >= baseNameSize) return 0;
  std::wmemcpy(folder, path, nameStart);
  folder[nameStart] = 0;
  std::wmemcpy(baseName, path + nameStart, nameEnd - nameStart);
  baseName[nameEnd - nameStart] = 0;
  return 1;
}

}  // namespace qxu
