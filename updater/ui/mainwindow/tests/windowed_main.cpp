// The updater program with its windows, for the end-to-end test: the
// process of the start-up module with the window shell.
#include <windows.h>

#include "ui/mainwindow/win32/window_shell.h"
#include "updater_process.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  qxu::UpdaterProcess process;
  process.engine = &qxu::TheEngine();
  process.shell = qxu::WindowsShell();
  process.selfUpdateServer = L"http://127.0.0.1:9";
  return qxu::RunUpdaterProcess(process, commandLine);
}
