#include "ui/runwindows/win32/row_painter.h"

#include <commctrl.h>

#include "engine/support/win32/unique_handle.h"
#include "ui/runwindows/win32/run_windows.h"
#include "ui/runwindows/core/row_colours.h"
#include "ui/runwindows/win32/confirm_rows.h"

namespace qxu {

namespace {

constexpr int kTextChars = 2048;

// Restores what the row painting changes in a borrowed device context; a
// scope guard, not a handle owner.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDc() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC dc_;
  int saved_;
};

COLORREF ToColorRef(const Rgb& c) { return RGB(c.r, c.g, c.b); }

void ReadCell(HWND list, int index, int column, wchar_t* text) {
  text[0] = L'\0';
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = kTextChars;
  SendMessageW(list, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
  text[kTextChars - 1] = L'\0';
}

UINT AlignmentOf(HWND list, int column) {
  LVCOLUMNW c{};
  c.mask = LVCF_FMT;
  if (!SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&c))) return DT_LEFT;
  switch (c.fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

void PaintConfirmRow(const DRAWITEMSTRUCT& draw, const RunIcons& icons) {
  HWND list = draw.hwndItem;
  HDC dc = draw.hDC;
  int index = static_cast<int>(draw.itemID);
  SavedDc saved(dc);
  SetBkMode(dc, TRANSPARENT);

  wchar_t text[kTextChars];
  int mark = ListRowMark(list, index);
  RowColours colours = ChooseRowColours((draw.itemState & ODS_SELECTED) != 0, ListRowState(list, index), mark);

  RECT client;
  GetClientRect(list, &client);
  RECT fill{};
  fill.left = LVIR_BOUNDS;
  SendMessageW(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&fill));
  fill.right = client.right * 2;
  const GdiObject<HBRUSH> brush(CreateSolidBrush(ToColorRef(colours.background)));
  FillRect(dc, &fill, brush.get());
  SetTextColor(dc, ToColorRef(colours.text));

  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int column = 0; column < columns; ++column) {
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETSUBITEMRECT, index, reinterpret_cast<LPARAM>(&cell));
    ReadCell(list, index, column, text);
    if (column == 0) {
      HICON icon = CheckIconFor(mark) == kIconCheckTicked ? icons.checkTicked.get() : icons.checkEmpty.get();
      if (icon) DrawIconEx(dc, cell.left + 1, (cell.top + cell.bottom - 16) / 2, icon, 16, 16, 0, nullptr, DI_NORMAL);
      cell.left += 20;
    }
    InflateRect(&cell, -1, -1);
    DrawTextW(dc, text, -1, &cell,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | AlignmentOf(list, column));
  }
  if (draw.itemState & ODS_FOCUS) DrawFocusRect(dc, &fill);
}

}  // namespace qxu
