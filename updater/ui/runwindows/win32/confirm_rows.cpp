#include "ui/runwindows/win32/confirm_rows.h"

#include <commctrl.h>

#include "ui/runwindows/core/row_colours.h"

namespace qxu {

int ListRowMark(HWND list, int index) {
  if (!list) return 0;
  auto state = static_cast<unsigned>(SendMessageW(list, LVM_GETITEMSTATE, index, kStateImageMask));
  return StateImageOf(state);
}

void SetListRowMark(HWND list, int index, int mark) {
  if (!list) return;
  LVITEMW item{};
  item.stateMask = kStateImageMask;
  item.state = StateBitsFor(mark);
  SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

void InvalidateRow(HWND list, int index) {
  if (!list || index < 0) return;
  RECT r{};
  r.left = LVIR_BOUNDS;
  if (!SendMessageW(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r))) return;
  RECT client;
  GetClientRect(list, &client);
  r.right = client.right;
  InvalidateRect(list, &r, TRUE);
}

void SetListRowState(HWND list, int index, RowState state, const wchar_t* text) {
  if (!list) return;
  LVITEMW data{};
  data.mask = LVIF_PARAM;
  data.iItem = index;
  data.lParam = static_cast<LPARAM>(state);
  SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  LVITEMW cell{};
  cell.iSubItem = 1;
  cell.pszText = const_cast<wchar_t*>(text ? text : L"");
  SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&cell));
  InvalidateRow(list, index);
}

RowState ListRowState(HWND list, int index) {
  LVITEMW data{};
  data.mask = LVIF_PARAM;
  data.iItem = index;
  if (!list || !SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return RowState::None;
  return static_cast<RowState>(data.lParam);
}

void SetActionButton(HWND window, const wchar_t* caption, bool enabled) {
  HWND button = window ? GetDlgItem(window, IDOK) : nullptr;
  if (!button) return;
  if (caption) SetWindowTextW(button, caption);
  EnableWindow(button, enabled ? TRUE : FALSE);
}

}  // namespace qxu
