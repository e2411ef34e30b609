#pragma once
// The windows of one updater process over its run session: the open run
// window, the main window's tray icon, the taskbar button's progress, the
// icons and the threads of the run. The engine reaches it through
// RunWindowPort; a window finds it through its window data, a thread
// through its argument.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "ui/runwindows/win32/taskbar_progress.h"
#include "ui/runwindows/win32/thread_owner.h"
#include "ui/runwindows/win32/tray_icon.h"
#include "ui/runwindows/win32/worker_threads.h"
#include "engine/run/win32/update_session.h"

namespace qxu {

// Icons of the language resource library.
struct RunIcons {
  IconHandle large;        // 10 at 32 by 32
  IconHandle small;        // 10 at 16 by 16, also the resting tray icon
  IconHandle frames[4];    // 12..15 at 16 by 16
  IconHandle checkEmpty;   // 20
  IconHandle checkTicked;  // 21

  // Loads every icon from the library; missing ones stay none.
  void Load(HMODULE library);
};

// The engine pass a worker thread runs.
enum class RunPass { Items, Check, Download };

// The confirm window's own state; kept from one window to the next.
struct ConfirmState {
  bool updateStarted = false;
  int previousSelected = -1;
  HWND tooltip = nullptr;
  bool closing = false;
};

class RunWindows final : public RunWindowPort {
 public:
  RunWindows(UpdateSession& session, HMODULE resources, UpdaterSettings* settings);
  ~RunWindows() override = default;
  RunWindows(const RunWindows&) = delete;
  RunWindows& operator=(const RunWindows&) = delete;

  UpdateSession& session;
  HMODULE const resources;  // templates 102, 202 and the icons
  UpdaterSettings* const settings;
  std::atomic<HWND> runWindow{nullptr};
  std::atomic<HWND> mainWindow{nullptr};
  TaskbarProgress taskbar;
  TrayIcon tray;
  RunIcons icons;
  RunThreads threads;
  ConfirmState confirm;
  bool progressClosing = false;  // set while the progress window closes

  // The main window's start timer: with a command line BeginRun, without
  // one the options dialog (1, 2 or 2301).
  std::wstring commandLine;
  std::function<void()> beginRun;
  std::function<int()> showOptionsDialog;

  const wchar_t* ProgramName() const;
  bool Silent() const { return session.options.silent; }

  // The options as the setting file left them, kept before the command line
  // is applied: a run's "--silent" or "-pu" must not be saved for good.
  void RememberSavedOptions();
  // Saves the setting file (without stamping) with the remembered options.
  void SaveRunSettings();

  // Starts the pass's worker and the tray animation; busy is set before the
  // worker starts, so that a worker ending at once cannot leave it at 1.
  void StartPass(RunPass pass, const wchar_t* activity);
  // Posts a window command to the run window, if one is open.
  void PostCommand(int command);

  // RunWindowPort
  bool OpenRunWindow(bool confirm, bool silent) override;
  void EndRunWithoutWindow() override;
  void ShowProgress(const wchar_t* text, double value) override;
  void ShowItemState(int index, RowState state, std::uint64_t size) override;
  void SetItemChecked(int index, bool checked) override;
  bool ItemChecked(int index) override;
  void CheckPassBegins() override;
  void CheckPassEnds() override;
  void DownloadPassBegins() override;
  void StopRun() override;
  void RunFinished() override;
  void ShowMessage(const wchar_t* text, unsigned type) override;

 private:
  SettingsOptions saved_;
  bool savedTaken_ = false;
};

// The object a run window or the main window was created with.
RunWindows& RunWindowsOfDialog(HWND dialog);
RunWindows& RunWindowsOfWindow(HWND window);

}  // namespace qxu
