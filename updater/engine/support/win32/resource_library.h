#pragma once
// The language resource library: dialog templates and icons, no code.
#include <windows.h>

namespace qxu {

// Owner of a loaded module; frees it when it goes.
class ModuleHandle {
 public:
  ModuleHandle() = default;
  explicit ModuleHandle(HMODULE module) : module_(module) {}
  ~ModuleHandle() { reset(); }
  ModuleHandle(const ModuleHandle&) = delete;
  ModuleHandle& operator=(const ModuleHandle&) = delete;
  ModuleHandle(ModuleHandle&& other) noexcept : module_(other.release()) {}
  ModuleHandle& operator=(ModuleHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  HMODULE get() const { return module_; }
  explicit operator bool() const { return module_ != nullptr; }
  HMODULE release() {
    HMODULE module = module_;
    module_ = nullptr;
    return module;
  }
  void reset(HMODULE module = nullptr) {
    if (module_) FreeLibrary(module_);
    module_ = module;
  }

 private:
  HMODULE module_ = nullptr;
};

// The library names, tried in this order, each in all four places.
inline constexpr const wchar_t* kResourceLibraryNames[] = {
    L"QxUpdate.Jpn.dll", L"QxUpdate.Eng.dll", L"QxUpdateResource.dll"};

// Tries name, .\PlugIn\name, .\DLL\name and ..\name (relative forms against
// the current folder) and returns the first module that loads, or none.
HMODULE LoadResourceLibrary(const wchar_t* fileName);

// Every name of kResourceLibraryNames in order; none when all twelve fail.
HMODULE LoadLanguageResourceLibrary();

}  // namespace qxu
