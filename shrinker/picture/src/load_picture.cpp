// Extension dispatch and whole-file reading.
#include <cstdio>
#include <vector>

#include "picture/load_picture.h"
#include "picture/orientation.h"

namespace vantilo {

namespace {

bool EndsWithNoCase(const std::string& s, const char* tail) {
  const std::size_t n = std::char_traits<char>::length(tail);
  if (s.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    char c = s[s.size() - n + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != tail[i]) return false;
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bool ok = false;
  if (std::fseek(f, 0, SEEK_END) == 0) {
    const long size = std::ftell(f);
    if (size >= 0 && std::fseek(f, 0, SEEK_SET) == 0) {
      try {
        bytes.resize(static_cast<std::size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
      } catch (const std::bad_alloc&) {
        ok = false;
      }
    }
  }
  std::fclose(f);
  return ok;
}

PictureKind PictureKindOf(const std::string& path) {
  // '.' is never part of a double-byte character, so a tail match is safe
  // for code page 932 names too.
  if (EndsWithNoCase(path, ".jpg") || EndsWithNoCase(path, ".jpeg")) return PictureKind::Jpeg;
  if (EndsWithNoCase(path, ".gif")) return PictureKind::Gif;
  if (EndsWithNoCase(path, ".png")) return PictureKind::Png;
  if (EndsWithNoCase(path, ".bmp")) return PictureKind::Bmp;
  return PictureKind::None;
}

bool LoadPicture(const std::string& path, WorkPicture& picture, bool upright) {
  picture.Clear();
  const PictureKind kind = PictureKindOf(path);
  if (kind == PictureKind::None) return false;
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  const std::uint8_t* data = bytes.data();
  const std::size_t size = bytes.size();
  switch (kind) {
    case PictureKind::Jpeg:
      if (!DecodeJpeg(data, size, picture)) return false;
      if (upright && !TurnUpright(picture, ExifOrientation(data, size))) {
        picture.Clear();
        return false;
      }
      return true;
    case PictureKind::Gif: return DecodeGif(data, size, picture);
    case PictureKind::Png: return DecodePng(data, size, picture);
    case PictureKind::Bmp: return DecodeBmp(data, size, picture);
    default: return false;
  }
}

}  // namespace vantilo
