#include "qxupdate_program.h"

#include "ui/about/win32/operating_system_name.h"
#include "ui/mainwindow/win32/window_shell.h"
#include "ui/options/win32/process_dialogs.h"
#include "updater_process.h"

namespace qxu {

namespace {

// The dialogs reach the process's records through their context; it must be
// filled before the first-run questions may open the proxy dialog.
void PrepareDialogs(UpdaterProcess& p) {
  FillOperatingSystemName(p.identity.get());
  DialogContext& dialogs = ProcessDialogContext();
  dialogs.library = p.resources.get();
  dialogs.identity = p.identity.get();
  dialogs.settings = &p.settings;
  dialogs.options = OptionFieldsOf(p.engine->options);
}

}  // namespace

int RunQxUpdate(const wchar_t* commandLine, const wchar_t* selfUpdateServer) {
  UpdaterProcess process;
  process.engine = &TheEngine();
  process.shell = WindowsShell(ShowProcessOptionsDialog);
  process.selfUpdateServer = selfUpdateServer;
  process.prepare = PrepareDialogs;
  process.firstRunHooks = ProcessFirstRunHooks;
  return RunUpdaterProcess(process, commandLine);
}

}  // namespace qxu
