#include "engine/description/core/utf8_text.h"

namespace qxu {
namespace {

inline bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

bool HasUtf8Mark(const char* bytes, std::size_t length) {
  return bytes && length >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
         static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF;
}

std::size_t DecodeUtf8Char(const char* bytes, std::size_t length, char32_t* codePoint) {
  if (!bytes || length == 0) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(bytes);
  std::size_t size;
  char32_t value, least;
  if (b[0] < 0x80) {
    if (codePoint) *codePoint = b[0];
    return 1;
  } else if ((b[0] & 0xE0) == 0xC0) {
    size = 2, value = b[0] & 0x1F, least = 0x80;
  } else if ((b[0] & 0xF0) == 0xE0) {
    size = 3, value = b[0] & 0x0F, least = 0x800;
  } else if ((b[0] & 0xF8) == 0xF0) {
    size = 4, value = b[0] & 0x07, least = 0x10000;
  } else {
    return 0;  // a continuation byte, or F8..FF
  }
  if (length < size) return 0;
  for (std::size_t i = 1; i < size; ++i) {
    if (!IsContinuation(b[i])) return 0;
    value = (value << 6) | (b[i] & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  if (codePoint) *codePoint = value;
  return size;
}

bool IsUtf8Text(const char* bytes, std::size_t length) {
  if (!bytes) return false;
  bool wide = false;
  for (std::size_t at = 0; at < length;) {
    const std::size_t size = DecodeUtf8Char(bytes + at, length - at, nullptr);
    if (size == 0) return false;
    if (size > 1) wide = true;
    at += size;
  }
  return wide;
}

}  // namespace qxu
