#pragma once
// Draws one row of the confirm list (owner-drawn fixed rows).
#include <windows.h>

namespace qxu {

void PaintConfirmRow(const DRAWITEMSTRUCT& draw);

}  // namespace qxu
