// QxUpdate without windows, for the start-up and self-update tests: runs
// are carried out and reported without the run windows.
#include <windows.h>

#include "updater_process.h"

#ifndef QX_SELF_UPDATE_SERVER
#error "QX_SELF_UPDATE_SERVER names the publisher's server (scheme and host)"
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  qxu::UpdaterProcess process;
  process.engine = &qxu::TheEngine();
  process.shell = qxu::DefaultShell();
  process.selfUpdateServer = QX_SELF_UPDATE_SERVER;
  return qxu::RunUpdaterProcess(process, commandLine);
}
