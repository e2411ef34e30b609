#pragma once
// Control layouts of the run windows for a client area, and the list columns.

namespace qxu {

struct ControlBox {
  int x = 0, y = 0, width = 0, height = 0;
};

struct ConfirmLayout {
  ControlBox closeButton;   // 2
  ControlBox actionButton;  // 1
  ControlBox downloadBar;   // 2026
  ControlBox list;          // 2025
};

// bw, bh: outer size of the close button, which both buttons keep.
ConfirmLayout LayOutConfirm(int clientWidth, int clientHeight, int bw, int bh);

struct ListColumns {
  int first = 0, second = 0;
};

// Columns 5/8 and 3/8 of the width left beside a vertical scroll bar,
// truncated toward zero.
ListColumns SplitColumns(int listWidth, int scrollBarWidth);

// Progress window: the three lines keep top and height, get x 4 and width
// cw - 8; the button is centred near the bottom.
struct ProgressLayout {
  int lineX = 4, lineWidth = 0;
  int buttonX = 0, buttonY = 0;
};
ProgressLayout LayOutProgress(int clientWidth, int clientHeight, int bw, int bh);

// Stored window sizes below this are not taken.
inline constexpr int kMinStoredSize = 5;

struct StoredRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// Confirm window at opening: a width or height below 5 resets both to 400 by 600.
StoredRect ConfirmOpeningRect(StoredRect stored);

// Progress window at opening: the stored rectangle is taken only when both
// sizes are 5 or more.
bool ProgressTakesStoredRect(const StoredRect& stored);

}  // namespace qxu
