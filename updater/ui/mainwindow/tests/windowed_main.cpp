// The updater program with its windows, for the end-to-end tests: the
// process of the start-up module with the window shell.
#include <windows.h>

#include <cwchar>

#include "ui/mainwindow/win32/window_shell.h"
#include "updater_process.h"

namespace {

// The tests shorten the wait for a cancelled worker that never finishes.
DWORD WorkerWaitFromEnvironment() {
  wchar_t text[16] = {};
  const DWORD n = GetEnvironmentVariableW(L"QXU_TEST_WORKER_WAIT_MS", text, 16);
  if (n == 0 || n >= 16) return 0;
  return static_cast<DWORD>(wcstoul(text, nullptr, 10));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  qxu::UpdaterProcess process;
  process.engine = &qxu::TheEngine();
  process.shell = qxu::WindowsShell();
  process.selfUpdateServer = L"http://127.0.0.1:9";
  process.workerWaitMs = WorkerWaitFromEnvironment();
  return qxu::RunUpdaterProcess(process, commandLine);
}
