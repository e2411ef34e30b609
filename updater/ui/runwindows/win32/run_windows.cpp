#include "ui/runwindows/win32/run_windows.h"

#include <commctrl.h>

#include <memory>

#include "engine/identity/win32/program_identity.h"
#include "ui/lang/resource_ids.h"
#include "ui/runwindows/core/progress_math.h"
#include "ui/runwindows/core/row_colours.h"
#include "ui/runwindows/win32/confirm_rows.h"
#include "ui/runwindows/win32/run_window_common.h"
#include "engine/settings/win32/settings_file.h"
#include "engine/run/win32/update_run.h"

namespace qxu {

namespace {

HICON LoadSizedIcon(HMODULE library, int id, int size) {
  return static_cast<HICON>(LoadImageW(library, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void SetBars(HWND window, int position) {
  if (!window) return;
  SendDlgItemMessageW(window, QXU_PROGRESS_BAR, PBM_SETPOS, position, 0);
  SendDlgItemMessageW(window, QXU_CONFIRM_PROGRESS, PBM_SETPOS, position, 0);
}

DWORD WINAPI RunItemsThread(LPVOID windows) {
  RunItems(static_cast<RunWindows*>(windows)->session);
  return 0;
}

DWORD WINAPI CheckPassThread(LPVOID windows) {
  CheckPass(static_cast<RunWindows*>(windows)->session);
  return 0;
}

DWORD WINAPI DownloadPassThread(LPVOID windows) {
  DownloadPass(static_cast<RunWindows*>(windows)->session);
  return 0;
}

struct Animation {
  RunWindows* windows;
  const wchar_t* text;  // lives for the process
  int number;
};

// Animates the tray icon while the run is busy.
DWORD WINAPI AnimateTray(LPVOID argument) {
  std::unique_ptr<Animation> a(static_cast<Animation*>(argument));
  RunWindows& w = *a->windows;
  int frame = 0;
  while (w.session.run.busy == 1) {
    if (!w.threads.IsLatestAnimation(a->number)) return 0;
    frame = NextTrayFrame(frame);
    HICON icon = w.icons.frames[frame - 1].get();
    w.tray.Change(icon, w.ProgramName(), a->text);
    if (HWND window = w.runWindow) {
      SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
      w.taskbar.SetOverlay(window, icon);
    }
    Sleep(500);
  }
  if (!w.threads.IsLatestAnimation(a->number)) return 0;
  w.tray.Change(w.icons.small.get(), w.ProgramName(), nullptr);
  if (HWND window = w.runWindow) w.taskbar.SetOverlay(window, nullptr);
  return 0;
}

HWND ListOf(HWND window) { return window ? GetDlgItem(window, QXU_CONFIRM_LIST) : nullptr; }

}  // namespace

void RunIcons::Load(HMODULE library) {
  large.reset(LoadSizedIcon(library, QXU_ICON_PROGRAM, 32));
  small.reset(LoadSizedIcon(library, QXU_ICON_PROGRAM, 16));
  for (int i = 0; i < 4; ++i) frames[i].reset(LoadSizedIcon(library, QXU_ICON_TRAY_FRAME1 + i, 16));
  checkEmpty.reset(LoadSizedIcon(library, QXU_ICON_UNCHECKED, 16));
  checkTicked.reset(LoadSizedIcon(library, QXU_ICON_CHECKED, 16));
}

RunWindows::RunWindows(UpdateSession& s, HMODULE library, UpdaterSettings* stored)
    : session(s), resources(library), settings(stored) {
  icons.Load(library);
}

const wchar_t* RunWindows::ProgramName() const { return MessageCaption(session.identity); }

void RunWindows::RememberSavedOptions() {
  saved_ = session.options;
  savedTaken_ = true;
}

void RunWindows::SaveRunSettings() {
  if (!savedTaken_) RememberSavedOptions();
  SaveUpdaterSettings(session.identity, settings, saved_, 0);
}

void RunWindows::StartPass(RunPass pass, const wchar_t* activity) {
  static constexpr LPTHREAD_START_ROUTINE kPasses[] = {RunItemsThread, CheckPassThread, DownloadPassThread};
  session.run.busy = 1;
  if (!threads.Start(kPasses[static_cast<int>(pass)], this)) {
    session.run.busy = 0;
    return;
  }
  auto* animation = new Animation{this, activity, threads.NextAnimation()};
  if (!threads.Start(AnimateTray, animation)) delete animation;
}

void RunWindows::PostCommand(int command) {
  if (HWND window = runWindow) PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

bool RunWindows::OpenRunWindow(bool confirm, bool silent) { return OpenRunWindowOf(*this, confirm, silent) != nullptr; }

void RunWindows::EndRunWithoutWindow() {
  // Posted: BeginRun runs inside the main window's start timer.
  if (HWND main = mainWindow) PostMessageW(main, WM_COMMAND, MAKEWPARAM(kCommandEnd, 0), 0);
}

void RunWindows::ShowProgress(const wchar_t* text, double value) {
  HWND window = runWindow;
  if (text && window) SetDlgItemTextW(window, QXU_PROGRESS_STATUS, text);
  if (value < 0) {
    SetBars(window, 0);
    taskbar.SetValue(window, 0, kBarRange);
    taskbar.SetState(window, TBPF_NORMAL);
    return;
  }
  const int position = BarPosition(value);
  SetBars(window, position);
  taskbar.SetState(window, TBPF_NORMAL);
  taskbar.SetValue(window, position, kBarRange);
}

void RunWindows::ShowItemState(int index, RowState state, std::uint64_t size) {
  SetListRowState(ListOf(runWindow), index, state, RowStateText(state, size).c_str());
}

void RunWindows::SetItemChecked(int index, bool checked) {
  HWND list = ListOf(runWindow);
  SetListRowMark(list, index, checked ? kMarkOn : kMarkOff);
  InvalidateRow(list, index);
}

bool RunWindows::ItemChecked(int index) { return ListRowMark(ListOf(runWindow), index) == kMarkOn; }

void RunWindows::CheckPassBegins() { SetActionButton(runWindow, L"チェック中", false); }

void RunWindows::CheckPassEnds() { SetActionButton(runWindow, L"実行", true); }

void RunWindows::DownloadPassBegins() {
  HWND window = runWindow;
  if (HWND bar = window ? GetDlgItem(window, QXU_CONFIRM_PROGRESS) : nullptr) ShowWindow(bar, SW_SHOW);
  SetActionButton(window, L"中止", true);
}

// Posted: the worker goes on (or ends) while the window handles the command.
void RunWindows::StopRun() { PostCommand(kCommandRun); }

void RunWindows::RunFinished() { PostCommand(kCommandEnd); }

void RunWindows::ShowMessage(const wchar_t* text, unsigned type) {
  MessageBoxW(nullptr, text, ProgramName(), type);
}

RunWindows& RunWindowsOfDialog(HWND dialog) {
  return *reinterpret_cast<RunWindows*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

RunWindows& RunWindowsOfWindow(HWND window) {
  return *reinterpret_cast<RunWindows*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace qxu
