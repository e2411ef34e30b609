#pragma once
// The windows of QxUpdate for its start-up: hidden main window, tray icon,
// run windows and message loop.

namespace qxu {

class UpdaterShell;

UpdaterShell* WindowsShell();

}  // namespace qxu
