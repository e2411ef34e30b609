#pragma once
// Draws one row of the confirm list (owner-drawn fixed rows).
#include <windows.h>

namespace qxu {

struct RunIcons;

void PaintConfirmRow(const DRAWITEMSTRUCT& draw, const RunIcons& icons);

}  // namespace qxu
