#include "ui/placement/core/placement_math.h"

namespace qxu {
namespace {

// One axis of OnScreenPosition: while far < position + size/2, step back by
// far; then while near > position + size/2, step forward by far. Done with
// divisions in 64 bits, so a wild stored value neither loops for long nor
// overflows.
std::int64_t BringAxisOnScreen(std::int64_t position, std::int64_t size, std::int64_t nearEdge,
                               std::int64_t farEdge) {
  if (farEdge <= 0) return position;
  const std::int64_t half = size / 2;
  std::int64_t centre = position + half;
  if (farEdge < centre) {
    const std::int64_t steps = (centre - farEdge + farEdge - 1) / farEdge;
    position -= steps * farEdge;
    centre = position + half;
  }
  if (nearEdge > centre) {
    const std::int64_t steps = (nearEdge - centre + farEdge - 1) / farEdge;
    position += steps * farEdge;
  }
  return position;
}

int ClampToInt(std::int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int>(value);
}

}  // namespace

ScreenPoint NearPointerPosition(int w, int h, ScreenPoint pointer, const ScreenBounds& workArea,
                                int margin) {
  ScreenPoint at{pointer.x - w / 2, pointer.y - h / 2};
  if (at.x < workArea.left)
    at.x = workArea.left + margin;
  else if (at.x + w > workArea.right)
    at.x = workArea.right - w - margin;
  if (at.y < workArea.top)
    at.y = workArea.top + margin;
  else if (at.y + h > workArea.bottom)
    at.y = workArea.bottom - h - margin;
  return at;
}

ScreenPoint CentredPosition(int mode, int boxWidth, int boxHeight, int left, int top, int w, int h) {
  switch (mode & 0xFF) {
    case 1: return {(boxWidth - w) / 2, top};
    case 2: return {left, (boxHeight - h) / 2};
    case 3: return {boxWidth / 2 - w, top};
    case 4: return {boxWidth / 2, top};
    default: return {(boxWidth - w) / 2, (boxHeight - h) / 2};
  }
}

ScreenPoint OnScreenPosition(const RectRecord& rect, const ScreenBounds& desktop) {
  return {ClampToInt(BringAxisOnScreen(rect.x, rect.width, desktop.left, desktop.right)),
          ClampToInt(BringAxisOnScreen(rect.y, rect.height, desktop.top, desktop.bottom))};
}

}  // namespace qxu
