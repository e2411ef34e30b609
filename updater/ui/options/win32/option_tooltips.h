#pragma once
// The tooltips of the options dialog, one per button and check box, kept in
// a process-wide table of eight slots.
#include <windows.h>

namespace qxu {

inline constexpr int kOptionTooltipSlots = 8;

// Destroys every tooltip of the table; with create 1 attaches them again to
// the dialog's controls. Tooltips that cannot be made take no slot.
void RebuildOptionTooltips(HWND dialog, int create);

// The tooltip window in a slot, or none.
HWND OptionTooltip(int slot);

}  // namespace qxu
