#pragma once
// The about box: description and operating system, version and release
// date, copyright line and the product's web page as a link.
#include <windows.h>

namespace qxu {

struct ProgramIdentity;

inline constexpr int kAboutDescriptionControl = 1001;
inline constexpr int kAboutVersionControl = 1002;
inline constexpr int kAboutCopyrightControl = 1003;
inline constexpr int kAboutLinkControl = 1004;

// Runs the dialog of template templateId in library modally. title none
// keeps the template's title; showSystem 0 leaves the operating system out.
// Returns 1.
int ShowAboutDialog(HMODULE library, int templateId, HWND owner, HICON bigIcon, HICON smallIcon,
                    const wchar_t* title, ProgramIdentity* identity, int showSystem);

}  // namespace qxu
