#pragma once
// The confirm window (template 102): tick list of the run's files, action
// and close buttons, and the download bar.
#include <windows.h>

namespace qxu {

inline constexpr wchar_t kListTooltipText[] =
    L"アップデートのチェック対象ファイルリストです\r\nクリックすると，アップデートを実行するか\r\nしないかを変更することができます\r\n";

INT_PTR CALLBACK ConfirmWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qxu
