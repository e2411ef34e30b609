#pragma once

#include <windows.h>

#include "gdi_owners.h"

namespace inkplate {

// Shows the print dialog; the printer's device context, or none when the user
// cancelled or the dialog failed.
OwnedDc ShowPrintDialog(HWND owner);

}  // namespace inkplate
