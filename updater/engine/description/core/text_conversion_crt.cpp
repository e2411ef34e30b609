#include <cwchar>

#include "engine/description/core/text_conversion.h"
#include "engine/description/core/utf8_text.h"

namespace qxu {

std::size_t ConvertLocaleText(const char* bytes, std::size_t length, wchar_t* out) {
  std::mbstate_t state{};
  std::size_t in = 0, written = 0;
  while (in < length) {
    wchar_t c = 0;
    const std::size_t used = std::mbrtowc(&c, bytes + in, length - in, &state);
    if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) || used == 0) break;
    out[written++] = c;
    in += used;
  }
  out[written] = 0;
  return written;
}

std::size_t ConvertUtf8Text(const char* bytes, std::size_t length, wchar_t* out) {
  std::size_t in = 0, written = 0;
  while (in < length) {
    char32_t c = 0;
    std::size_t used = DecodeUtf8Char(bytes + in, length - in, &c);
    if (used == 0) {
      c = 0xFFFD;
      used = 1;
    }
    if (sizeof(wchar_t) == 2 && c > 0xFFFF) {
      c -= 0x10000;
      out[written++] = static_cast<wchar_t>(0xD800 + (c >> 10));
      out[written++] = static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
      out[written++] = static_cast<wchar_t>(c);
    }
    in += used;
  }
  out[written] = 0;
  return written;
}

}  // namespace qxu
