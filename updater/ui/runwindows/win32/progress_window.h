#pragma once
// The progress window (template 202): status line, bar, cancel button.
#include <windows.h>

namespace qxu {

INT_PTR CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qxu
