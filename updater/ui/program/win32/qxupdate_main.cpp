// QxUpdate.exe: the updater program.
#include <windows.h>

#include "ui/program/win32/qxupdate_program.h"

#ifndef QX_SELF_UPDATE_SERVER
#error "QX_SELF_UPDATE_SERVER names the publisher's server (scheme and host)"
#endif

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  return qxu::RunQxUpdate(commandLine, QX_SELF_UPDATE_SERVER);
}
