#include "ui/runwindows/win32/confirm_window.h"

#include <commctrl.h>

#include "engine/identity/win32/program_identity.h"
#include "ui/lang/resource_ids.h"
#include "ui/placement/win32/tooltip.h"
#include "ui/placement/win32/window_placement.h"
#include "ui/runwindows/core/row_colours.h"
#include "ui/runwindows/core/run_layout.h"
#include "ui/runwindows/win32/confirm_rows.h"
#include "ui/runwindows/win32/row_painter.h"
#include "ui/runwindows/win32/run_window_common.h"
#include "ui/runwindows/win32/run_windows.h"

namespace qxu {

namespace {

constexpr int kCloseButton = IDCANCEL;
constexpr int kActionButton = IDOK;

HWND List(HWND window) { return GetDlgItem(window, QXU_CONFIRM_LIST); }

void SetColumnWidths(HWND list, int listWidth) {
  ListColumns c = SplitColumns(listWidth, GetSystemMetrics(SM_CXVSCROLL));
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(static_cast<WORD>(c.first), 0));
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(static_cast<WORD>(c.second), 0));
}

void Place(HWND control, const ControlBox& box, UINT flags) {
  SetWindowPos(control, nullptr, box.x, box.y, box.width, box.height, SWP_NOZORDER | flags);
}

void LayOut(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  HWND close = GetDlgItem(window, kCloseButton);
  RECT b{};
  GetWindowRect(close, &b);
  ConfirmLayout l = LayOutConfirm(client.right, client.bottom, b.right - b.left, b.bottom - b.top);
  Place(close, l.closeButton, SWP_SHOWWINDOW);
  Place(GetDlgItem(window, kActionButton), l.actionButton, SWP_SHOWWINDOW);
  Place(GetDlgItem(window, QXU_CONFIRM_PROGRESS), l.downloadBar, SWP_NOREDRAW);
  HWND list = List(window);
  Place(list, l.list, SWP_SHOWWINDOW);
  RECT r;
  GetWindowRect(list, &r);
  SetColumnWidths(list, r.right - r.left);
}

void StoreGeometry(RunWindows& w, HWND window) {
  if (w.Silent()) return;
  UpdaterSettings* s = w.settings;
  RectRecord r;
  if (!s || !ReadWindowRect(window, &r, nullptr)) return;
  s->confirmWindowX = r.x;
  s->confirmWindowY = r.y;
  s->confirmWindowWidth = r.width;
  s->confirmWindowHeight = r.height;
}

void PlaceAtStored(RunWindows& w, HWND window) {
  UpdaterSettings* s = w.settings;
  if (!s) return;
  StoredRect opening = ConfirmOpeningRect(
      {s->confirmWindowX, s->confirmWindowY, s->confirmWindowWidth, s->confirmWindowHeight});
  RectRecord rect;
  rect.x = opening.x;
  rect.y = opening.y;
  rect.width = opening.width;
  rect.height = opening.height;
  PlaceAtStoredRect(window, &rect, 1);
  s->confirmWindowX = rect.x;
  s->confirmWindowY = rect.y;
  s->confirmWindowWidth = rect.width;
  s->confirmWindowHeight = rect.height;
}

void InsertColumns(HWND list) {
  RECT client;
  GetClientRect(list, &client);
  ListColumns c = SplitColumns(client.right, GetSystemMetrics(SM_CXVSCROLL));
  const wchar_t* titles[2] = {L"アップデート対象", L"チェック"};
  int widths[2] = {c.first, c.second};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = widths[i];
    column.pszText = const_cast<wchar_t*>(titles[i]);
    column.iSubItem = i;
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void InsertRows(RunWindows& w, HWND list) {
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  const auto& items = w.session.items;
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = const_cast<wchar_t*>(items[i].fileName.c_str());
    item.lParam = static_cast<LPARAM>(RowState::None);
    int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    SetListRowMark(list, row, kMarkOff);
  }
}

void Initialise(RunWindows& w, HWND window) {
  ConfirmState& state = w.confirm;
  state.closing = false;
  SetRunWindowIcons(w, window);
  if (w.Silent()) HideSilently(window);
  w.runWindow = window;
  SetProgramTitle(w.session.identity, window);
  HWND bar = GetDlgItem(window, QXU_CONFIRM_PROGRESS);
  ShowWindow(bar, SW_HIDE);
  ResetBar(bar);
  ResetTaskbar(w, window);
  if (!w.Silent()) {
    PlaceAtStored(w, window);
    BringToFront(window);
    LayOut(window);
  }
  HWND list = List(window);
  state.tooltip = AttachTooltip(GetModuleHandleW(nullptr), window, QXU_CONFIRM_LIST, kListTooltipText, 1);
  state.updateStarted = false;
  InsertColumns(list);
  InsertRows(w, list);
  RunState& run = w.session.run;
  run.allSucceeded = 1;
  run.keepGoing = 1;
  run.updatedCount = 0;
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kCommandCheck, 0), 0);
}

void Finish(RunWindows& w, HWND window) {
  HWND tooltip = w.confirm.tooltip;
  w.confirm.tooltip = nullptr;
  EndRunWindow(w, window, tooltip);
}

void Close(RunWindows& w, HWND window) {
  if (w.confirm.closing) return;
  w.confirm.closing = true;
  w.session.run.keepGoing = 0;
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kCommandGeometry, 0), 0);
  w.SaveRunSettings();
  Finish(w, window);
}

void Abort(RunWindows& w, HWND window) {
  if (w.confirm.closing) return;
  // The message box below runs a message loop: a worker ending meanwhile
  // must not close the window under the abort.
  w.confirm.closing = true;
  RunState& run = w.session.run;
  run.keepGoing = 0;
  MessageBoxW(window, L"中断しました", w.ProgramName(), MB_OK | MB_ICONWARNING);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kCommandGeometry, 0), 0);
  w.SaveRunSettings();
  w.runWindow = nullptr;
  run.updatedCount = -1;
  Finish(w, window);
}

void Action(RunWindows& w, HWND window) {
  if (!w.confirm.updateStarted) {
    w.confirm.updateStarted = true;
    w.StartPass(RunPass::Download, kActivityDownloading);
  } else {
    Abort(w, window);
  }
}

void RepaintSelection(ConfirmState& state, HWND list) {
  if (state.previousSelected >= 0) InvalidateRow(list, state.previousSelected);
  int selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (selected >= 0) InvalidateRow(list, selected);
  state.previousSelected = selected;
}

void Notify(ConfirmState& state, const NMHDR& header) {
  if (header.idFrom != QXU_CONFIRM_LIST) return;
  HWND list = header.hwndFrom;
  switch (header.code) {
    case NM_CLICK: {
      int selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
      if (selected >= 0) SetListRowMark(list, selected, SwitchedMark(ListRowMark(list, selected)));
      RepaintSelection(state, list);
      break;
    }
    case LVN_ITEMCHANGING:
    case LVN_ITEMCHANGED:
      RepaintSelection(state, list);
      break;
  }
}

}  // namespace

INT_PTR CALLBACK ConfirmWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    Initialise(RunWindowsOfDialog(window), window);
    return TRUE;
  }
  if (!GetWindowLongPtrW(window, DWLP_USER)) return FALSE;
  RunWindows& w = RunWindowsOfDialog(window);
  switch (message) {
    case WM_SIZE:
      if (!w.Silent()) LayOut(window);
      return FALSE;
    case WM_DRAWITEM:
      if (wParam != QXU_CONFIRM_LIST) return FALSE;
      PaintConfirmRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), w.icons);
      return TRUE;
    case WM_NOTIFY:
      Notify(w.confirm, *reinterpret_cast<const NMHDR*>(lParam));
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCommandRun:
          Action(w, window);
          return TRUE;
        case kCommandEnd:
          Close(w, window);
          return TRUE;
        case kCommandCheck:
          w.StartPass(RunPass::Check, kActivityChecking);
          return TRUE;
        case kCommandGeometry:
          StoreGeometry(w, window);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace qxu
