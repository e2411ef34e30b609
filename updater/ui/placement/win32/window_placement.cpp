#include "ui/placement/win32/window_placement.h"

namespace qxu {
namespace {

ScreenBounds WorkArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return {area.left, area.top, area.right, area.bottom};
}

}  // namespace

int PlaceNearPointer(HWND window, int margin, int showFlag) {
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT pointer{};
  GetCursorPos(&pointer);
  const ScreenPoint at = NearPointerPosition(rect.right - rect.left, rect.bottom - rect.top,
                                             {pointer.x, pointer.y}, WorkArea(), margin);
  SetWindowPos(window, HWND_TOP, at.x, at.y, 0, 0,
               SWP_NOSIZE | (showFlag == 1 ? SWP_SHOWWINDOW : SWP_NOREDRAW));
  return 1;
}

int CentreWindow(HWND window, int mode, HWND reference) {
  int boxWidth, boxHeight;
  if (reference) {
    RECT box{};
    GetWindowRect(reference, &box);
    boxWidth = box.right - box.left;
    boxHeight = box.bottom - box.top;
  } else {
    const ScreenBounds area = WorkArea();
    boxWidth = area.right;
    boxHeight = area.bottom;
  }
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT corner{rect.left, rect.top};
  if (reference) ScreenToClient(reference, &corner);
  const ScreenPoint at = CentredPosition(mode, boxWidth, boxHeight, corner.x, corner.y,
                                         rect.right - rect.left, rect.bottom - rect.top);
  SetWindowPos(window, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  return 1;
}

int PlaceAtStoredRect(HWND window, RectRecord* rect, int sizeFlag) {
  if (!window || !rect) return 0;
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const ScreenPoint at =
      OnScreenPosition(*rect, {desktop.left, desktop.top, desktop.right, desktop.bottom});
  rect->x = at.x;
  rect->y = at.y;
  SetWindowPos(window, HWND_TOP, rect->x, rect->y, rect->width, rect->height,
               SWP_NOREDRAW | (sizeFlag == 1 ? 0 : SWP_NOSIZE));
  return 1;
}

int ReadWindowRect(HWND window, RectRecord* rect, int* showState) {
  if (!window) return 0;
  WINDOWPLACEMENT placement{};
  static_assert(sizeof placement == 44, "placement record of 44 bytes");
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  RECT bounds{};
  int state = 1;
  if (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_SHOWMAXIMIZED) {
    bounds = placement.rcNormalPosition;
    state = static_cast<int>(placement.showCmd);
  } else {
    GetWindowRect(window, &bounds);
  }
  if (rect) *rect = {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
  if (showState) *showState = state;
  return 1;
}

}  // namespace qxu
