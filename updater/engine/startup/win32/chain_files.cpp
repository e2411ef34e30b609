#include "engine/startup/win32/chain_files.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "engine/support/win32/unique_handle.h"
#include "engine/runrules/core/path_text.h"

namespace qxu {

namespace {

bool ReadSome(HANDLE file, char* buffer, DWORD size, DWORD* got) {
  *got = 0;
  return ReadFile(file, buffer, size, got, nullptr) != FALSE;
}

}  // namespace

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void WaitLoop(const std::function<void()>& action, const std::function<bool()>& goal) {
  for (int cycle = 0; cycle <= 10; ++cycle) {
    Sleep(1000);
    if (cycle % 4 == 0) action();
    if (goal()) return;
  }
}

void DeleteLoop(const std::wstring& path) {
  WaitLoop([&] { DeleteFileW(path.c_str()); }, [&] { return !FileExists(path); });
}

bool ReplaceProgram(const std::wstring& newCopy, const std::wstring& target) {
  const std::wstring part = PartFilePath(target);
  bool replaced = false;
  WaitLoop(
      [&] {
        // An earlier attempt's copy carries the hidden attribute of its
        // source, which would refuse the copy over it.
        SetFileAttributesW(part.c_str(), FILE_ATTRIBUTE_NORMAL);
        replaced = CopyFileW(newCopy.c_str(), part.c_str(), FALSE) &&
                   MoveFileExW(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
      },
      [&] { return replaced; });
  if (!replaced) {
    SetFileAttributesW(part.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(part.c_str());
  }
  return replaced;
}

bool SameFileContent(const std::wstring& a, const std::wstring& b) {
  FileHandle first(CreateFileW(a.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  FileHandle second(CreateFileW(b.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER sizeA{}, sizeB{};
  if (!first.valid() || !second.valid() || !GetFileSizeEx(first.get(), &sizeA) ||
      !GetFileSizeEx(second.get(), &sizeB) || sizeA.QuadPart != sizeB.QuadPart)
    return false;
  constexpr DWORD kChunk = 64 * 1024;
  std::unique_ptr<char[]> bufferA(new (std::nothrow) char[kChunk]);
  std::unique_ptr<char[]> bufferB(new (std::nothrow) char[kChunk]);
  if (!bufferA || !bufferB) return false;
  for (;;) {
    DWORD gotA = 0, gotB = 0;
    if (!ReadSome(first.get(), bufferA.get(), kChunk, &gotA) || !ReadSome(second.get(), bufferB.get(), kChunk, &gotB) ||
        gotA != gotB)
      return false;
    if (gotA == 0) return true;
    if (memcmp(bufferA.get(), bufferB.get(), gotA) != 0) return false;
  }
}

}  // namespace qxu
