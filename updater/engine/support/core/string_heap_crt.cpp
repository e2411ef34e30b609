#include "engine/support/core/string_heap.h"

#include <cstdlib>

namespace qxu {

void* StringHeapAlloc(std::size_t bytes) { return bytes ? std::calloc(1, bytes) : nullptr; }

void StringHeapFree(void* block) { std::free(block); }

}  // namespace qxu
