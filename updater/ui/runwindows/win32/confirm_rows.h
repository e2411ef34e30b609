#pragma once
// What the check and download passes change in the confirm window, from
// their worker threads: every call is a blocking message to a control of
// the current run window, and does nothing once that window is gone.
#include <windows.h>

namespace qxu {

inline constexpr int kConfirmList = 2025;
inline constexpr int kConfirmDownloadBar = 2026;
inline constexpr int kConfirmActionButton = 1;

// Column-1 text of a row, then the row redrawn across the list's width.
void SetRowStatus(int index, const wchar_t* text);
// The row's mark (state image): 1 not selected, 2 selected; 0 without window.
int RowMark(int index);
void SetRowMark(int index, int mark);
void SetActionButton(const wchar_t* caption, bool enabled);
void ShowDownloadBar();

// Same on a given list control (used by the window itself).
int ListRowMark(HWND list, int index);
void SetListRowMark(HWND list, int index, int mark);
// Invalidates the row's bounds with the right edge at the list's client width.
void InvalidateRow(HWND list, int index);

}  // namespace qxu
