#pragma once
// A static control that behaves as a web link: underlined, blue (red while
// the pointer is over its text), hand cursor, opened with the shell on click.
// One link at a time per process.
#include <windows.h>

namespace qxu {

// Replaces the control's window procedure with the link's. False when the
// control is missing or a link is already attached.
bool AttachHyperlink(HWND control);

// Gives the control its previous window procedure back and forgets the link.
void DetachHyperlink();

// Width in pixels of the link text at its last paint (0 before).
int HyperlinkTextWidth();

}  // namespace qxu
