#pragma once
// Where the about box's link reacts to the pointer: over its text only, not
// over the rest of its control.

namespace qxu {

struct LinkBounds {
  int left = 0, top = 0, right = 0, bottom = 0;  // the control, screen pixels
};

// 1 when (x, y) lies from the control's left edge to left + textWidth and
// from its top to its bottom edge, edges included.
inline int InsideLinkArea(const LinkBounds& control, int textWidth, int x, int y) {
  return x >= control.left && x <= control.left + textWidth && y >= control.top &&
                 y <= control.bottom
             ? 1
             : 0;
}

}  // namespace qxu
