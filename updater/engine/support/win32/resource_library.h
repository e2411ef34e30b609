#pragma once
// The language resource library: dialog templates and icons, no code.
#include <windows.h>

#include "engine/support/win32/unique_handle.h"

namespace qxu {

// The library names, tried in this order, each in all four places.
inline constexpr const wchar_t* kResourceLibraryNames[] = {
    L"QxUpdate.Jpn.dll", L"QxUpdate.Eng.dll", L"QxUpdateResource.dll"};

// Tries name, .\PlugIn\name, .\DLL\name and ..\name (relative forms against
// the current folder) and returns the first module that loads, or none.
HMODULE LoadResourceLibrary(const wchar_t* fileName);

// Every name of kResourceLibraryNames in order; none when all twelve fail.
HMODULE LoadLanguageResourceLibrary();

}  // namespace qxu
