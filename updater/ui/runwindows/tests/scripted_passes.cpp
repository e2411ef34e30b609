#include "scripted_passes.h"

#include <commctrl.h>

#include <memory>

#include "engine/workers/win32/run_shared.h"
#include "engine/workers/win32/worker_threads.h"
#include "ui/runwindows/win32/confirm_rows.h"
#include "window_test_support.h"

namespace qxu::test {

namespace {
std::unique_ptr<Script> g_script(new Script);

void Observe(Observation& o) {
  HWND w = Shared().runWindow;
  wchar_t text[512] = L"";
  if (w) {
    GetDlgItemTextW(w, 2001, text, 512);
    o.bar = static_cast<int>(SendDlgItemMessageW(w, 2003, PBM_GETPOS, 0, 0));
    o.bar2 = static_cast<int>(SendDlgItemMessageW(w, 2026, PBM_GETPOS, 0, 0));
    o.windowVisible = IsWindowVisible(w) != FALSE;
    GetWindowRect(w, &o.windowRect);
  }
  o.status = text;
  wchar_t tip[128];
  Shared().tray.Tip(tip, 128);
  o.tip = tip;
  o.trayAdded = Shared().tray.Added();
  o.taskbar = Shared().taskbar.Exists();
}

void SampleTray(Observation& o, DWORD ms) {
  for (DWORD t = 0; t < ms; t += 100) {
    o.trayIcons.push_back(Shared().tray.Icon());
    Sleep(100);
  }
}
}  // namespace

Script& CurrentScript() { return *g_script; }

void ResetScript() {
  // The message loop has waited for the threads that read the earlier one.
  g_script.reset(new Script);
}

DWORD WINAPI ScriptedRunItems(LPVOID) {
  Script& s = CurrentScript();
  RunState& run = *Shared().run;
  run.allSucceeded = 1;
  run.keepGoing = 1;
  run.updatedCount = 0;
  run.busy = 1;
  for (size_t i = 0; i < State().items.size() && run.keepGoing == 1; ++i) {
    ReportProgress((State().items[i] + L" をダウンロードしています").c_str(), -1.0);
    ReportProgress(nullptr, 37.46);
    if (i == 0) {
      Observe(s.seen);
      SampleTray(s.seen, 1500);
      if (s.reported) SetEvent(s.reported);
    }
    if (s.waitForCancel) {
      while (run.keepGoing == 1) Sleep(20);
      // The transfer goes on after the cancel while the windows go away.
      for (int wait = 0; wait < 200 && Shared().mainWindow.load() != nullptr; ++wait) Sleep(50);
      s.uiGoneDuringTransfer = Shared().mainWindow.load() == nullptr && Shared().runWindow.load() == nullptr;
      Sleep(300);
      break;
    }
    Sleep(s.transferDelayMs);
    ReportProgress(nullptr, 100.0);
    s.downloaded.push_back(static_cast<int>(i));
    ++run.updatedCount;
  }
  run.busy = 0;
  s.finished = true;
  SendRunCommand(kCommandEnd);
  return 0;
}

DWORD WINAPI ScriptedCheckPass(LPVOID) {
  Script& s = CurrentScript();
  RunState& run = *Shared().run;
  run.busy = 1;
  SetActionButton(L"チェック中", false);
  for (size_t i = 0; i < State().items.size(); ++i) {
    int index = static_cast<int>(i);
    SetRowStatus(index, L"チェック中...");
    Sleep(s.checkDelayMs);
    int result = run.keepGoing == 1 && i < s.checkResults.size() ? s.checkResults[i] : 127;
    if (run.keepGoing == 1) s.checked.push_back(index);
    if (result == 0) {
      SetRowStatus(index, L"アップデート不要(2048byte)");
    } else if (result == 1) {
      SetRowStatus(index, L"アップデート可能(1234byte)");
      SetRowMark(index, 2);
    } else {
      SetRowStatus(index, L"不明");
    }
  }
  Observe(s.seen);
  run.busy = 0;
  SetActionButton(L"実行", true);
  if (s.checkDone) SetEvent(s.checkDone);
  if (State().silent == 1) SendRunCommand(kCommandRun);
  return 0;
}

DWORD WINAPI ScriptedDownloadPass(LPVOID) {
  Script& s = CurrentScript();
  RunState& run = *Shared().run;
  run.busy = 1;
  ShowDownloadBar();
  SetActionButton(L"中止", true);
  for (size_t i = 0; i < State().items.size() && run.keepGoing == 1; ++i) {
    int index = static_cast<int>(i);
    if (RowMark(index) != 2) continue;
    SetRowStatus(index, L"ダウンロード中...");
    ReportProgress(nullptr, 50.0);
    if (s.reported) SetEvent(s.reported);
    Sleep(s.transferDelayMs);
    s.downloaded.push_back(index);
    ++run.updatedCount;
    SetRowStatus(index, L"ダウンロード完了");
  }
  run.busy = 0;
  s.finished = true;
  SendRunCommand(kCommandEnd);
  return 0;
}

}  // namespace qxu::test
