// QxUpdate with its windows and these dialogs, for the end-to-end test: the
// window shell's start-up, with the options dialog behind the main window's
// start timer. The self-update server comes from QXU_TEST_SELF_UPDATE_SERVER.
#include <windows.h>

#include "engine/workers/win32/run_shared.h"
#include "ui/about/win32/operating_system_name.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/mainwindow/win32/window_shell.h"
#include "ui/options/win32/process_dialogs.h"
#include "ui/runwindows/win32/engine_windows.h"
#include "updater_process.h"

namespace {

qxu::UpdaterProcess* g_process = nullptr;
const wchar_t* g_commandLine = nullptr;
wchar_t g_server[512] = L"http://127.0.0.1:9";

void BeginRunOfProcess() {
  if (g_process) qxu::BeginRun(*g_process, g_process->commandLine.c_str());
}

class DialogsShell final : public qxu::UpdaterShell {
 public:
  void RunMainWindow(qxu::UpdaterProcess& p) override {
    g_process = &p;
    g_commandLine = p.commandLine.c_str();
    qxu::FillOperatingSystemName(p.identity.get());
    qxu::DialogContext& dialogs = qxu::ProcessDialogContext();
    dialogs.library = p.resources.get();
    dialogs.identity = p.identity.get();
    dialogs.settings = &p.settings;
    dialogs.options = qxu::OptionFieldsOf(p.engine->options);

    qxu::EngineWindowsSetup setup;
    setup.resources = p.resources.get();
    setup.settings = &p.settings;
    setup.commandLine = &g_commandLine;
    setup.beginRun = BeginRunOfProcess;
    setup.showOptionsDialog = qxu::ShowProcessOptionsDialog;
    qxu::BindEngineWindows(*p.engine, setup);
    qxu::CreateMainWindow();
    qxu::RunMessageLoop();
  }
  void DestroyWindows() override { qxu::WindowsShell()->DestroyWindows(); }
  void ReleaseTaskbar() override { qxu::WindowsShell()->ReleaseTaskbar(); }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  static DialogsShell shell;
  qxu::UpdaterProcess process;
  process.engine = &qxu::TheEngine();
  process.shell = &shell;
  GetEnvironmentVariableW(L"QXU_TEST_SELF_UPDATE_SERVER", g_server, 512);
  process.selfUpdateServer = g_server;
  return qxu::RunUpdaterProcess(process, commandLine);
}
