#include "ui/about/win32/about_dialog.h"

#include <cstdarg>
#include <cwchar>

#include "ui/about/win32/hyperlink.h"
#include "engine/identity/win32/program_identity.h"
#include "ui/placement/win32/window_placement.h"

namespace qxu {
namespace {

constexpr size_t kTextChars = 1024;

// What one open about box shows; it lives on ShowAboutDialog's stack.
struct AboutInputs {
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  const wchar_t* title = nullptr;
  ProgramIdentity* identity = nullptr;
  int showSystem = 0;
  Hyperlink link;
};

AboutInputs& InputsOf(HWND dialog) { return *reinterpret_cast<AboutInputs*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

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

void FillTexts(HWND dialog, const AboutInputs& about) {
  ProgramIdentity* identity = about.identity;
  if (!identity) return;
  wchar_t text[kTextChars];
  const wchar_t* system = about.showSystem ? Or(identity->osName) : L"";
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

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      AboutInputs& about = InputsOf(dialog);
      if (about.title) SetWindowTextW(dialog, about.title);
      SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(about.bigIcon));
      SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(about.smallIcon));
      FillTexts(dialog, about);
      about.link.Attach(GetDlgItem(dialog, kAboutLinkControl));
      PlaceNearPointer(dialog, 5, 1);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          // Enter must not close the box by accident.
          return TRUE;
        case IDCANCEL:
          if (GetWindowLongPtrW(dialog, DWLP_USER)) InputsOf(dialog).link.Detach();
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
  AboutInputs about;
  about.bigIcon = bigIcon;
  about.smallIcon = smallIcon;
  about.title = title;
  about.identity = identity;
  about.showSystem = showSystem;
  DialogBoxParamW(library, MAKEINTRESOURCEW(templateId), owner, AboutProc, reinterpret_cast<LPARAM>(&about));
  // A dialog that ended some other way must not leave the link behind: the
  // link detaches as it goes.
  return 1;
}

}  // namespace qxu
