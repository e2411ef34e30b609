// Vantilo: the picture shrinker's program.
#include <windows.h>

#include "command_line.h"
#include "handles.h"
#include "main_window.h"
#include "settings_file.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  vantilo::ComApartment com;  // the shell link object of "/sc"
  char module[MAX_PATH * 2];
  const DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
  vantilo::AppOptions options;
  options.programPath.assign(module, n);
  options.settings.beside = vantilo::SettingsPathFor(options.programPath);
  options.settings.perUser = vantilo::PerUserSettingsPathFor(options.programPath);
  options.arguments = vantilo::SplitCommandLine(GetCommandLineA());
  if (!vantilo::MainWindow::RegisterClasses(instance)) return 1;
  vantilo::MainWindow window(std::move(options));
  // A command-line run does all its work in here and leaves a quit message.
  if (!window.Create(instance)) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window.Hwnd() && IsDialogMessageW(window.Hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
