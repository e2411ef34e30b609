#pragma once
// Arithmetic of the window placement helpers: plain values in, a position out.
// All halvings divide by 2 rounding toward zero.
#include <cstdint>

namespace qxu {

// The stored rectangle of a window: left, top, width, height in screen pixels.
struct RectRecord {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
};

struct ScreenPoint {
  int x = 0, y = 0;
};

struct ScreenBounds {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Window of w by h centred on the pointer, pushed margin pixels inside the
// work area where it would stick out.
ScreenPoint NearPointerPosition(int w, int h, ScreenPoint pointer, const ScreenBounds& workArea,
                                int margin);

// Position of a window (top-left left, top; size w by h) centred in a box of
// boxWidth by boxHeight by the low byte of mode.
ScreenPoint CentredPosition(int mode, int boxWidth, int boxHeight, int left, int top, int w, int h);

// Shifts a stored rectangle by whole screen widths and heights until its
// centre lies on the desktop. A desktop without extent leaves it as it is.
ScreenPoint OnScreenPosition(const RectRecord& rect, const ScreenBounds& desktop);

}  // namespace qxu
