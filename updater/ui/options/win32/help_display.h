#pragma once
// Compiled help through HtmlHelpW, loaded from hhctrl.ocx on first use.
#include <windows.h>

namespace qxu {

struct ProgramIdentity;

inline constexpr wchar_t kHelpMissingText[] = L"Cannot find help file.";
inline constexpr wchar_t kHelpMissingCaption[] = L"HtmlHelp Error";

// Opens helpFile (at topic when given) with owner; tells the user when the
// file is missing. Returns 1.
int ShowHelp(ProgramIdentity* identity, HWND owner, const wchar_t* helpFile,
             const wchar_t* topic);

}  // namespace qxu

namespace qxu {

// Ends the help system when this process started it.
void EndHelp(ProgramIdentity* identity);

}  // namespace qxu
