#include "engine/description/core/description_text.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "engine/description/core/argument_split.h"
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
  std::mbstate_t state{};
  std::size_t in = 0, out = 0;
  while (in < length) {
    wchar_t c = 0;
    const std::size_t used = std::mbrtowc(&c, bytes + in, length - in, &state);
    if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) || used == 0) break;
    text.get()[out++] = c;
    in += used;
  }
  if (out == 0) return nullptr;
  return SplitArguments(text.get(), count);
}

}  // namespace qxu
