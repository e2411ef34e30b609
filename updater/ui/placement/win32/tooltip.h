#pragma once
// Tooltips on dialog controls.
#include <windows.h>

namespace qxu {

// Tooltip width in pixels beyond which texts wrap.
inline constexpr int kTooltipMaxWidth = 360;

// Attaches a tooltip with text to control controlId of window (to window
// itself when controlId <= 0); a balloon when balloon is 1. Returns the
// tooltip window, destroyed with its parent, or none (no text, no such
// control, or the platform refused).
HWND AttachTooltip(HINSTANCE instance, HWND window, int controlId, const wchar_t* text, int balloon);

}  // namespace qxu
