#include "engine/description/core/description_text.h"

#include <cstdint>
#include <cstring>

#include "engine/description/core/argument_split.h"
#include "engine/description/core/text_conversion.h"
#include "engine/description/core/utf8_text.h"
#include "engine/support/core/owned_string.h"

namespace qxu {

wchar_t** SplitDescriptionBytes(const char* bytes, std::size_t size, int* count) {
  if (count) *count = 0;
  if (!bytes || size == 0) return nullptr;
  const void* zero = std::memchr(bytes, 0, size);
  std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
  // Notepad saves UTF-8, with or without the mark; without it the bytes decide.
  bool utf8 = HasUtf8Mark(bytes, length);
  if (utf8) {
    bytes += 3;
    length -= 3;
  } else {
    utf8 = IsUtf8Text(bytes, length);
  }
  if (length == 0 || length > SIZE_MAX / 4) return nullptr;

  OwnedString text(AllocChars(2 * length));
  if (!text) return nullptr;
  const std::size_t converted =
      utf8 ? ConvertUtf8Text(bytes, length, text.get()) : ConvertLocaleText(bytes, length, text.get());
  if (converted == 0) return nullptr;
  return SplitArguments(text.get(), count);
}

}  // namespace qxu
