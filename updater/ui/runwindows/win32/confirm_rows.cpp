#include "ui/runwindows/win32/confirm_rows.h"

#include <commctrl.h>

#include "engine/workers/win32/run_shared.h"
#include "ui/runwindows/core/row_colours.h"

namespace qxu {

namespace {
HWND CurrentList() {
  HWND window = Shared().runWindow;
  return window ? GetDlgItem(window, kConfirmList) : nullptr;
}
}  // namespace

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

void SetRowStatus(int index, const wchar_t* text) {
  HWND list = CurrentList();
  if (!list) return;
  LVITEMW item{};
  item.iSubItem = 1;
  item.pszText = const_cast<wchar_t*>(text ? text : L"");
  SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
  InvalidateRow(list, index);
}

int RowMark(int index) { return ListRowMark(CurrentList(), index); }

void SetRowMark(int index, int mark) {
  HWND list = CurrentList();
  SetListRowMark(list, index, mark);
  InvalidateRow(list, index);
}

void SetActionButton(const wchar_t* caption, bool enabled) {
  HWND window = Shared().runWindow;
  if (!window) return;
  HWND button = GetDlgItem(window, kConfirmActionButton);
  if (!button) return;
  if (caption) SetWindowTextW(button, caption);
  EnableWindow(button, enabled ? TRUE : FALSE);
}

void ShowDownloadBar() {
  HWND window = Shared().runWindow;
  if (HWND bar = window ? GetDlgItem(window, kConfirmDownloadBar) : nullptr) ShowWindow(bar, SW_SHOW);
}

}  // namespace qxu
