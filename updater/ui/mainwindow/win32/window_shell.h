#pragma once
// The windows of QxUpdate for its start-up: hidden main window, tray icon,
// run windows and message loop.

#include <windows.h>

namespace qxu {

class UpdaterShell;

// showOptionsDialog is what the start timer opens when the command line is
// empty; without one the process ends.
UpdaterShell* WindowsShell(INT_PTR (*showOptionsDialog)() = nullptr);

}  // namespace qxu
