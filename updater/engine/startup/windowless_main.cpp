#include <windows.h>

#include "qxupdate_program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  return qxu::RunQxUpdate(commandLine, QX_SELF_UPDATE_SERVER);
}
