#pragma once
// The rows of the confirm list and its action button. The passes change
// them from their worker threads: every call is a blocking message to a
// control of the run window, and does nothing without one.
#include <windows.h>

#include "engine/runrules/core/row_state.h"

namespace qxu {

// The row's mark (state image): 1 not selected, 2 selected; 0 without list.
int ListRowMark(HWND list, int index);
void SetListRowMark(HWND list, int index, int mark);
// The row's state (kept as its item data) and its status column text, then
// the row redrawn across the list's width.
void SetListRowState(HWND list, int index, RowState state, const wchar_t* text);
RowState ListRowState(HWND list, int index);
// Invalidates the row's bounds with the right edge at the list's client width.
void InvalidateRow(HWND list, int index);
void SetActionButton(HWND window, const wchar_t* caption, bool enabled);

}  // namespace qxu
