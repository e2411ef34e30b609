// QxUpdate as shipped, but with the self-update server taken from
// QXU_TEST_SELF_UPDATE_SERVER, for the end-to-end tests.
#include <windows.h>

#include "qxupdate_program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  static wchar_t server[512] = L"http://127.0.0.1:9";
  GetEnvironmentVariableW(L"QXU_TEST_SELF_UPDATE_SERVER", server, 512);
  return qxu::RunQxUpdate(commandLine, server);
}
