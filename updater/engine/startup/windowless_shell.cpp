// The shell of a build without the run-windows module: no main window and
// no run window; the run goes through on the main thread, then the result
// message, the restart program and the deletion of the description file
// follow in the order of the end of a windowed run.
#include <windows.h>
#include <shellapi.h>

#include <map>

#include "run_outcome.h"
#include "update_run.h"
#include "updater_process.h"

namespace qxu {

namespace {

class WindowlessShell : public UpdaterShell, public RunWindowPort {
 public:
  void RunMainWindow(UpdaterProcess& p) override {
    p_ = &p;
    UpdateEngine& e = *p.engine;
    bool blank = true;
    for (wchar_t c : p.commandLine) blank = blank && (c == L' ' || c == L'\t' || c == L'\r' || c == L'\n');
    if (blank) return;  // the options dialog belongs to the windows module
    e.windows = this;
    BeginRun(p, p.commandLine.c_str());
    if (!opened_) return;
    if (confirm_) {
      e.run.allSucceeded = 1;
      e.run.keepGoing = 1;
      e.run.updatedCount = 0;
      CheckPass(e);  // ticks the newer files; the run button is "pressed" at once
      DownloadPass(e);
    } else {
      RunItems(e);
    }
    e.windows = nullptr;
    EndOfRun(p);
  }
  void DestroyWindows() override {}
  void ReleaseTaskbar() override {}

  bool OpenRunWindow(int confirm, int /*silent*/) override {
    opened_ = true;
    confirm_ = confirm == 1;
    return true;
  }
  void EndRunWithoutWindow() override {}
  ProgressCallback ProgressRoutine() override { return nullptr; }
  void SetItemStatus(int, const wchar_t*) override {}
  void SetItemChecked(int index, int checked) override { checked_[index] = checked; }
  int ItemChecked(int index) override { return checked_.count(index) ? checked_[index] : 0; }
  void CheckPassBegins() override {}
  void CheckPassEnds() override {}
  void DownloadPassBegins() override {}
  void SendRunCommand(int) override {}
  void ShowMessage(const wchar_t* text, unsigned type) override {
    MessageBoxW(nullptr, text, MessageCaption(p_ ? p_->identity.get() : nullptr), type);
  }

 private:
  void EndOfRun(UpdaterProcess& p) {
    UpdateEngine& e = *p.engine;
    const UpdaterOptions& o = e.options;
    const int updated = e.run.updatedCount;
    const ResultMessage m = ResultMessageFor(updated, e.run.allSucceeded, o.information, o.confirm);
    if (m.icon != MessageIcon::None)
      ShowMessage(m.text.c_str(), MB_OK | (m.icon == MessageIcon::Warning ? MB_ICONWARNING : MB_ICONINFORMATION));
    if (o.restartProgram && !(o.noRestart == 1 && updated <= 0))
      ShellExecuteW(nullptr, L"open", o.restartProgram, o.restartArguments, nullptr, SW_SHOWNORMAL);
    if (o.deleteSetting == 1 && o.settingFile) DeleteFileW(o.settingFile);
  }

  UpdaterProcess* p_ = nullptr;
  bool opened_ = false;
  bool confirm_ = false;
  std::map<int, int> checked_;
};

}  // namespace

UpdaterShell* DefaultShell() {
  static WindowlessShell shell;
  return &shell;
}

}  // namespace qxu
