#include <cwchar>

#include "engine/description/core/text_conversion.h"

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

}  // namespace qxu
