#include "ui/runwindows/win32/engine_windows.h"

#include "engine/workers/win32/pass_threads.h"
#include "engine/workers/win32/run_shared.h"
#include "engine/workers/win32/worker_threads.h"
#include "ui/runwindows/core/row_colours.h"
#include "ui/runwindows/win32/confirm_rows.h"
#include "ui/runwindows/win32/run_binding.h"
#include "ui/runwindows/win32/run_window_common.h"
#include "update_engine.h"

namespace qxu {

namespace {

class RunWindows final : public RunWindowPort {
 public:
  bool OpenRunWindow(int confirm, int silent) override { return qxu::OpenRunWindow(confirm, silent) != nullptr; }
  void EndRunWithoutWindow() override {
    // Posted: BeginRun runs inside the main window's start timer.
    if (HWND main = Shared().mainWindow) PostMessageW(main, WM_COMMAND, MAKEWPARAM(kCommandEnd, 0), 0);
  }
  ProgressCallback ProgressRoutine() override { return ReportProgress; }
  void SetItemStatus(int index, const wchar_t* text) override { SetRowStatus(index, text); }
  void SetItemChecked(int index, int checked) override { SetRowMark(index, checked ? kMarkOn : kMarkOff); }
  int ItemChecked(int index) override { return RowMark(index) == kMarkOn ? 1 : 0; }
  void CheckPassBegins() override { SetActionButton(L"チェック中", false); }
  void CheckPassEnds() override { SetActionButton(L"実行", true); }
  void DownloadPassBegins() override {
    ShowDownloadBar();
    SetActionButton(L"中止", true);
  }
  void SendRunCommand(int command) override { qxu::SendRunCommand(command); }
  void ShowMessage(const wchar_t* text, unsigned type) override {
    MessageBoxW(nullptr, text, MessageCaption(Binding().identity), type);
  }
};

RunWindows g_windows;

int EngineItemCount() { return TheEngine().itemCount; }

const wchar_t* EngineItemName(int index) {
  UpdateEngine& e = TheEngine();
  if (index < 0 || index >= e.itemCount || !e.items[index]) return nullptr;
  return e.items[index]->fileName;
}

}  // namespace

void BindEngineWindows(UpdateEngine& engine, const EngineWindowsSetup& setup) {
  RunShared& shared = Shared();
  shared.run = &engine.run;
  shared.programName = MessageCaption(engine.identity);
  shared.icons.Load(setup.resources);

  UpdaterOptions& o = engine.options;
  WindowsBinding& b = Binding();
  b.resources = setup.resources;
  b.identity = engine.identity;
  b.settings = setup.settings;
  b.silent = &o.silent;
  b.information = &o.information;
  b.confirm = &o.confirm;
  b.noRestart = &o.noRestart;
  b.deleteSetting = &o.deleteSetting;
  b.ownUpdate = &o.ownUpdate;
  b.proxyUserUse = &o.proxyUserUse;
  b.proxyUser = &o.proxyUser;
  b.proxyPasswordScrambled = &o.proxyPasswordScrambled;
  b.restartProgram = &o.restartProgram;
  b.restartArguments = &o.restartArguments;
  b.settingFile = &o.settingFile;
  b.itemCount = EngineItemCount;
  b.itemFileName = EngineItemName;
  b.runItems = RunItemsThread;
  b.checkPass = CheckPassThread;
  b.downloadPass = DownloadPassThread;
  b.commandLine = setup.commandLine;
  b.beginRun = setup.beginRun;
  b.showOptionsDialog = setup.showOptionsDialog;
  engine.windows = &g_windows;
}

}  // namespace qxu
