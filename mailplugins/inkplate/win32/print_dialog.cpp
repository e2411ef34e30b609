#include "print_dialog.h"

#include <commdlg.h>

namespace inkplate {

// Hosts and the dialog agree on the packed 32-bit record (the 64-bit twin's
// record is the platform's own).
#if !defined(_WIN64)
static_assert(sizeof(PRINTDLGA) == 66, "PRINTDLGA must be the 66-byte packed record");
#endif

OwnedDc ShowPrintDialog(HWND owner) {
  PRINTDLGA record = {};
  record.lStructSize = sizeof(PRINTDLGA);
  record.hwndOwner = owner;
  record.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE |
                 PD_HIDEPRINTTOFILE;
  record.nFromPage = 1;
  record.nToPage = 1;
  record.nMinPage = 1;
  record.nMaxPage = 1;
  record.nCopies = 1;
  const BOOL chosen = PrintDlgA(&record);
  // The dialog allocates the printer's settings even when none were given;
  // they are not needed once the device context exists.
  OwnedGlobal devMode(record.hDevMode);
  OwnedGlobal devNames(record.hDevNames);
  OwnedDc dc(record.hDC);
  if (!chosen) return OwnedDc();
  return dc;
}

}  // namespace inkplate
