#include "engine/support/core/string_heap.h"

#include <windows.h>

namespace qxu {

void* StringHeapAlloc(std::size_t bytes) {
  return bytes ? HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes) : nullptr;
}

void StringHeapFree(void* block) {
  if (block) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace qxu
