#include "engine/support/win32/resource_library.h"

#include <cwchar>

namespace qxu {
namespace {

constexpr size_t kPathChars = 8192;

// Loaded as an image resource only: the library carries no code, so nothing
// in a module planted in one of the searched folders ever runs.
HMODULE LoadAsResources(const wchar_t* path) {
  return LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}

}  // namespace

HMODULE LoadResourceLibrary(const wchar_t* fileName) {
  if (!fileName || !*fileName) return nullptr;
  static const wchar_t* const kPlaces[] = {L"%ls", L".\\PlugIn\\%ls", L".\\DLL\\%ls", L"..\\%ls"};
  for (const wchar_t* place : kPlaces) {
    wchar_t path[kPathChars];
    const int written = _snwprintf(path, kPathChars, place, fileName);
    if (written < 0 || static_cast<size_t>(written) >= kPathChars) continue;
    if (HMODULE module = LoadAsResources(path)) return module;
  }
  return nullptr;
}

HMODULE LoadLanguageResourceLibrary() {
  for (const wchar_t* name : kResourceLibraryNames)
    if (HMODULE module = LoadResourceLibrary(name)) return module;
  return nullptr;
}

}  // namespace qxu
