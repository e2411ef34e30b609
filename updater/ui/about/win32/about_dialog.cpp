#include "ui/about/win32/about_dialog.h"

#include <cstdarg>
#include <cwchar>

#include "ui/about/win32/hyperlink.h"
#include "engine/identity/win32/program_identity.h"
#include "ui/placement/win32/window_placement.h"

namespace qxu {
namespace {

constexpr size_t kTextChars = 1024;

// The inputs of the one about box of the process, for its lifetime.
struct AboutInputs {
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  const wchar_t* title = nullptr;
  ProgramIdentity* identity = nullptr;
  int showSystem = 0;
};
AboutInputs g_about;

const wchar_t* Or(const wchar_t* text) { return text ? text : L""; }

// Formats into text, cut at the buffer's end and always terminated.
void Format(wchar_t (&text)[kTextChars], const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  int length = _vsnwprintf(text, kTextChars - 1, format, args);
  va_end(args);
  if (length < 0 || static_cast<size_t>(length) >= kTextChars - 1) length = kTextChars - 1;
  text[length] = L'\0';
}

void FillTexts(HWND dialog) {
  ProgramIdentity* identity = g_about.identity;
  if (!identity) return;
  wchar_t text[kTextChars];
  const wchar_t* system = g_about.showSystem ? Or(identity->osName) : L"";
  if (*system)
    Format(text, L"%ls on %ls %ldbit", Or(identity->description), system, 32L);
  else
    Format(text, L"%ls", Or(identity->description));
  SetDlgItemTextW(dialog, kAboutDescriptionControl, text);

  Format(text, L"%ls (%ls)", Or(GetVersionText(identity)), Or(identity->releaseDate));
  SetDlgItemTextW(dialog, kAboutVersionControl, text);

  Format(text, L"Copyright (C) %ls %ls", Or(identity->copyrightYears),
           Or(identity->copyrightHolder));
  SetDlgItemTextW(dialog, kAboutCopyrightControl, text);

  SetDlgItemTextW(dialog, kAboutLinkControl, Or(identity->webAddress));
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      if (g_about.title) SetWindowTextW(dialog, g_about.title);
      SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_about.bigIcon));
      SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_about.smallIcon));
      FillTexts(dialog);
      AttachHyperlink(GetDlgItem(dialog, kAboutLinkControl));
      PlaceNearPointer(dialog, 5, 1);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          // Enter must not close the box by accident.
          return TRUE;
        case IDCANCEL:
          DetachHyperlink();
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int ShowAboutDialog(HMODULE library, int templateId, HWND owner, HICON bigIcon, HICON smallIcon,
                    const wchar_t* title, ProgramIdentity* identity, int showSystem) {
  g_about = AboutInputs{bigIcon, smallIcon, title, identity, showSystem};
  DialogBoxParamW(library, MAKEINTRESOURCEW(templateId), owner, AboutProc, 0);
  // A dialog that ended some other way must not leave the link behind.
  DetachHyperlink();
  g_about = AboutInputs{};
  return 1;
}

}  // namespace qxu
