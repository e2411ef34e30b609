#include "engine/description/core/description_text.h"

#include <cstdint>
#include <cstring>

#include "engine/description/core/argument_split.h"
#include "engine/description/core/text_conversion.h"
#include "engine/support/core/owned_string.h"

namespace qxu {

wchar_t** SplitDescriptionBytes(const char* bytes, std::size_t size, int* count) {
  if (count) *count = 0;
  if (!bytes || size == 0) return nullptr;
  const void* zero = std::memchr(bytes, 0, size);
  const std::size_t length = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - bytes) : size;
  if (length == 0 || length > SIZE_MAX / 4) return nullptr;

  OwnedString text(AllocChars(2 * length));
  if (!text) return nullptr;
  if (ConvertLocaleText(bytes, length, text.get()) == 0) return nullptr;
  return SplitArguments(text.get(), count);
}

}  // namespace qxu
