// Stands in for a program to restart: appends its command line, as UTF-8,
// to the file named by its first argument.
#include <windows.h>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 2) return 1;
  HANDLE file = CreateFileW(args[1], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  char line[2048];
  int n = WideCharToMultiByte(CP_UTF8, 0, GetCommandLineW(), -1, line, sizeof line - 2, nullptr, nullptr);
  if (n > 0) {
    line[n - 1] = '\n';
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(n), &written, nullptr);
  }
  CloseHandle(file);
  LocalFree(args);
  return 0;
}
