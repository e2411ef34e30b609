#include "ui/program/win32/qxupdate_program.h"

#include <memory>

#include "ui/about/win32/operating_system_name.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/options/win32/first_run_actions.h"
#include "ui/options/win32/help_display.h"
#include "ui/options/win32/options_dialog.h"
#include "ui/placement/win32/common_controls.h"
#include "ui/runwindows/win32/run_windows.h"
#include "engine/startup/win32/updater_process.h"

namespace qxu {

namespace {

// The windows and dialogs of QxUpdate over the process's records.
class QxUpdateShell final : public UpdaterShell {
 public:
  // The dialogs reach the process's records through their context; it must
  // be filled before the first-run questions may open the proxy dialog.
  void Prepare(UpdaterProcess& p) override {
    InitUpdaterCommonControls();
    FillOperatingSystemName(p.identity.get());
    dialogs_.library = p.resources.get();
    dialogs_.identity = p.identity.get();
    dialogs_.settings = &p.settings;
    dialogs_.options = &p.session.options;
  }
  FirstRunHooks FirstRunActions() override { return DialogFirstRunHooks(&dialogs_); }
  void RunMainWindow(UpdaterProcess& p) override {
    windows_ = std::make_unique<RunWindows>(p.session, p.resources.get(), &p.settings);
    windows_->commandLine = p.commandLine;
    windows_->beginRun = [&p] { BeginRun(p, p.commandLine.c_str()); };
    windows_->showOptionsDialog = [this] { return ShowOptionsDialog(dialogs_); };
    p.session.windows = windows_.get();
    CreateMainWindow(*windows_);
    RunMessageLoop(*windows_);
  }
  void DestroyWindows() override {
    if (windows_) DestroyWindowsAtExit(*windows_);
    EndHelp(dialogs_.identity);
  }
  void ReleaseTaskbar() override {
    if (windows_) windows_->taskbar.Release();
  }

 private:
  DialogContext dialogs_;
  std::unique_ptr<RunWindows> windows_;
};

}  // namespace

int RunQxUpdate(const wchar_t* commandLine, const wchar_t* selfUpdateServer) {
  QxUpdateShell shell;
  UpdaterProcess process;
  process.shell = &shell;
  process.selfUpdateServer = selfUpdateServer;
  return RunUpdaterProcess(process, commandLine);
}

}  // namespace qxu
