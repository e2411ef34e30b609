#pragma once
// The heap that owned strings and string lists live on: the process heap on
// Windows, the C heap elsewhere. Blocks come back zero-filled.
#include <cstddef>

namespace qxu {

void* StringHeapAlloc(std::size_t bytes);
void StringHeapFree(void* block);

}  // namespace qxu
