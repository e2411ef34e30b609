#include "engine/description/win32/description_file.h"

#include <windows.h>

#include <memory>

#include "engine/description/core/description_text.h"
#include "engine/support/core/string_heap.h"
#include "engine/support/win32/unique_handle.h"

namespace qxu {
namespace {

struct HeapBlockDeleter {
  void operator()(char* block) const { StringHeapFree(block); }
};

// A description file is a few lines; anything near the address space is
// refused before the text conversion would need four times its size.
constexpr LONGLONG kMaxDescriptionBytes = 256LL * 1024 * 1024;

}  // namespace

wchar_t** ReadDescriptionFile(const wchar_t* path, int* count) {
  if (count) *count = 0;
  if (!path || !*path) return nullptr;
  FileHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return nullptr;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxDescriptionBytes)
    return nullptr;
  const DWORD bytes = static_cast<DWORD>(size.QuadPart);
  std::unique_ptr<char, HeapBlockDeleter> data(static_cast<char*>(StringHeapAlloc(bytes + 1)));
  if (!data) return nullptr;
  DWORD read = 0;
  if (!ReadFile(file.get(), data.get(), bytes, &read, nullptr) || read == 0) return nullptr;
  return SplitDescriptionBytes(data.get(), read, count);
}

}  // namespace qxu
