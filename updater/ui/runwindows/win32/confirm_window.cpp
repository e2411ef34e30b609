#include "ui/runwindows/win32/confirm_window.h"

#include <commctrl.h>

#include "engine/workers/win32/run_shared.h"
#include "engine/workers/win32/worker_threads.h"
#include "ui/placement/win32/tooltip.h"
#include "ui/placement/win32/window_placement.h"
#include "ui/runwindows/core/row_colours.h"
#include "ui/runwindows/core/run_layout.h"
#include "ui/runwindows/win32/confirm_rows.h"
#include "ui/runwindows/win32/row_painter.h"
#include "ui/runwindows/win32/run_binding.h"
#include "ui/runwindows/win32/run_window_common.h"

namespace qxu {

namespace {

constexpr int kCloseButton = 2;

struct ConfirmState {
  int updateStarted = 0;
  int previousSelected = -1;  // kept from one window to the next
  HWND tooltip = nullptr;
  bool closing = false;
};
ConfirmState g_state;

HWND List(HWND window) { return GetDlgItem(window, kConfirmList); }

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
  Place(GetDlgItem(window, kConfirmActionButton), l.actionButton, SWP_SHOWWINDOW);
  Place(GetDlgItem(window, kConfirmDownloadBar), l.downloadBar, SWP_NOREDRAW);
  HWND list = List(window);
  Place(list, l.list, SWP_SHOWWINDOW);
  RECT r;
  GetWindowRect(list, &r);
  SetColumnWidths(list, r.right - r.left);
}

void StoreGeometry(HWND window) {
  if (Silent()) return;
  UpdaterSettings* s = Binding().settings;
  RectRecord r;
  if (!s || !ReadWindowRect(window, &r, nullptr)) return;
  s->confirmWindowX = r.x;
  s->confirmWindowY = r.y;
  s->confirmWindowWidth = r.width;
  s->confirmWindowHeight = r.height;
}

void PlaceAtStored(HWND window) {
  UpdaterSettings* s = Binding().settings;
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

void InsertRows(HWND list) {
  WindowsBinding& b = Binding();
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  int count = b.itemCount ? b.itemCount() : 0;
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    const wchar_t* name = b.itemFileName ? b.itemFileName(i) : nullptr;
    item.pszText = const_cast<wchar_t*>(name ? name : L"");
    item.lParam = i;
    int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    SetListRowMark(list, row, kMarkOff);
  }
}

void Initialise(HWND window) {
  WindowsBinding& b = Binding();
  g_state.closing = false;
  SetRunWindowIcons(window);
  if (Silent()) HideSilently(window);
  Shared().runWindow = window;
  SetProgramTitle(b.identity, window);
  HWND bar = GetDlgItem(window, kConfirmDownloadBar);
  ShowWindow(bar, SW_HIDE);
  ResetBar(bar);
  ResetTaskbar(window);
  if (!Silent()) {
    PlaceAtStored(window);
    BringToFront(window);
    LayOut(window);
  }
  HWND list = List(window);
  g_state.tooltip = AttachTooltip(GetModuleHandleW(nullptr), window, kConfirmList, kListTooltipText, 1);
  g_state.updateStarted = 0;
  InsertColumns(list);
  InsertRows(list);
  if (RunState* run = Shared().run) {
    run->allSucceeded = 1;
    run->keepGoing = 1;
    run->updatedCount = 0;
  }
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kCommandCheck, 0), 0);
}

void Finish(HWND window) {
  HWND tooltip = g_state.tooltip;
  g_state.tooltip = nullptr;
  EndRunWindow(window, tooltip);
}

void Close(HWND window) {
  if (g_state.closing) return;
  g_state.closing = true;
  if (RunState* run = Shared().run) run->keepGoing = 0;
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kCommandGeometry, 0), 0);
  SaveRunSettings();
  Finish(window);
}

void Abort(HWND window) {
  if (g_state.closing) return;
  // The message box below runs a message loop: a worker ending meanwhile
  // must not close the window under the abort.
  g_state.closing = true;
  RunState* run = Shared().run;
  if (run) run->keepGoing = 0;
  MessageBoxW(window, L"中断しました", MessageCaption(Binding().identity), MB_OK | MB_ICONWARNING);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(kCommandGeometry, 0), 0);
  SaveRunSettings();
  Shared().runWindow = nullptr;
  if (run) run->updatedCount = -1;
  Finish(window);
}

void Action(HWND window) {
  if (g_state.updateStarted == 0) {
    g_state.updateStarted = 1;
    StartRunThreads(Binding().downloadPass, kActivityDownloading);
  } else {
    Abort(window);
  }
}

void RepaintSelection(HWND list) {
  if (g_state.previousSelected >= 0) InvalidateRow(list, g_state.previousSelected);
  int selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (selected >= 0) InvalidateRow(list, selected);
  g_state.previousSelected = selected;
}

void Notify(const NMHDR& header) {
  if (header.idFrom != kConfirmList) return;
  HWND list = header.hwndFrom;
  switch (header.code) {
    case NM_CLICK: {
      int selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
      if (selected >= 0) SetListRowMark(list, selected, SwitchedMark(ListRowMark(list, selected)));
      RepaintSelection(list);
      break;
    }
    case LVN_ITEMCHANGING:
    case LVN_ITEMCHANGED:
      RepaintSelection(list);
      break;
  }
}

}  // namespace

INT_PTR CALLBACK ConfirmWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Initialise(window);
      return TRUE;
    case WM_SIZE:
      if (!Silent()) LayOut(window);
      return FALSE;
    case WM_DRAWITEM:
      if (wParam != kConfirmList) return FALSE;
      PaintConfirmRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_NOTIFY:
      Notify(*reinterpret_cast<const NMHDR*>(lParam));
      return FALSE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCommandRun:
          Action(window);
          return TRUE;
        case kCommandEnd:
          Close(window);
          return TRUE;
        case kCommandCheck:
          StartRunThreads(Binding().checkPass, kActivityChecking);
          return TRUE;
        case kCommandGeometry:
          StoreGeometry(window);
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

}  // namespace qxu
