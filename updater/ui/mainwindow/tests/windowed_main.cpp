#include <windows.h>

#include "qxupdate_program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  return qxu::RunQxUpdate(commandLine, L"http://127.0.0.1:9");
}
