#include "ui/mainwindow/win32/window_shell.h"

#include "engine/workers/win32/run_shared.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/runwindows/win32/engine_windows.h"
#include "updater_process.h"

namespace qxu {

namespace {

UpdaterProcess* g_process = nullptr;
INT_PTR (*g_showOptionsDialog)() = nullptr;
const wchar_t* g_commandLine = nullptr;

void BeginRunOfProcess() {
  if (g_process) BeginRun(*g_process, g_process->commandLine.c_str());
}

class Shell final : public UpdaterShell {
 public:
  void RunMainWindow(UpdaterProcess& p) override {
    g_process = &p;
    g_commandLine = p.commandLine.c_str();
    EngineWindowsSetup setup;
    setup.resources = p.resources.get();
    setup.settings = &p.settings;
    setup.commandLine = &g_commandLine;
    setup.beginRun = BeginRunOfProcess;
    setup.showOptionsDialog = g_showOptionsDialog;
    BindEngineWindows(*p.engine, setup);
    CreateMainWindow();
    RunMessageLoop(kWorkerWaitMs);
  }
  void DestroyWindows() override { DestroyWindowsAtExit(); }
  void ReleaseTaskbar() override { Shared().taskbar.Release(); }
};

}  // namespace

UpdaterShell* WindowsShell(INT_PTR (*showOptionsDialog)()) {
  static Shell shell;
  g_showOptionsDialog = showOptionsDialog;
  return &shell;
}

}  // namespace qxu
