// One updater run, owned by the process and passed to every step: the
// options, the item table, the counts, the downloader and the port through
// which the run reaches its windows.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/download/win32/http_downloader.h"
#include "engine/runrules/core/row_state.h"
#include "engine/runrules/core/run_outcome.h"
#include "engine/settings/core/updater_settings.h"

namespace qxu {

struct ProgramIdentity;

// Proxy fields as named by the command line or a description file.
enum ArgumentProxyField : unsigned {
  kArgProxyServer = 1,
  kArgProxyPort = 2,
  kArgProxyUser = 4,
  kArgProxyPassword = 8,
  kArgProxyScrambled = 16
};

// The setting file's options, then what the command line adds. An empty
// string means none.
struct UpdateOptions : SettingsOptions {
  bool silent = false;
  bool confirm = false;
  bool forceUpdate = false;
  bool noCheckUpdate = false;
  bool ownUpdate = false;
  bool deleteSetting = false;
  bool proxyNotUse = false;
  bool noRestart = false;
  std::wstring proxyServer;
  std::wstring proxyPort;
  std::wstring restartProgram;
  std::wstring restartArguments;
  std::wstring settingFile;  // the first description file
  // ArgumentProxyField bits: the stored credentials are not handed to a
  // proxy that the arguments name.
  unsigned argumentProxyFields = 0;
};

struct DownloadItem {
  std::wstring urlFolder;
  std::wstring fileName;
  std::wstring localPath;
  std::uint64_t size = 0;  // known size found by the confirm window's check
  FILETIME serverTime = {};
  RowState state = RowState::None;
};

inline constexpr int kItemSlots = 1000;

// What the run needs from its windows. The run windows implement it; a run
// without windows (the foreground self-update) uses none. Called from the
// worker thread of a pass unless said otherwise.
class RunWindowPort {
 public:
  virtual ~RunWindowPort() = default;
  // BeginRun's window step (main thread): the confirm window or the progress
  // window, created hidden when silent. The window starts the run itself.
  // False when the window cannot be made.
  virtual bool OpenRunWindow(bool confirm, bool silent) = 0;
  // Ends a run that never got its window, as the window's close would.
  virtual void EndRunWithoutWindow() = 0;
  // The downloader's status line and percentage (-1: text only).
  virtual void ShowProgress(const wchar_t* text, double value) = 0;
  // Confirm window list: a row's state, check marks.
  virtual void ShowItemState(int index, RowState state, std::uint64_t size) = 0;
  virtual void SetItemChecked(int index, bool checked) = 0;
  virtual bool ItemChecked(int index) = 0;
  // Run button and download bar of the confirm window around the passes.
  virtual void CheckPassBegins() = 0;
  virtual void CheckPassEnds() = 0;
  virtual void DownloadPassBegins() = 0;
  // The run window stops the run (progress: closes as cancelled; confirm:
  // the run button's second press).
  virtual void StopRun() = 0;
  // The pass is over: the run window closes and the run ends.
  virtual void RunFinished() = 0;
  // A message box with the program's caption; type as for MessageBoxW.
  virtual void ShowMessage(const wchar_t* text, unsigned type) = 0;
};

struct UpdateSession {
  UpdateOptions options;
  std::vector<DownloadItem> items;  // at most kItemSlots; fixed once the run starts
  RunState run;
  std::unique_ptr<HttpDownloader> downloader;
  ProgramIdentity* identity = nullptr;
  RunWindowPort* windows = nullptr;
  int argumentCount = 0;  // tokens of the command line; 0: whitespace only
  // Program file, its folder (with "\") and the current folder at start.
  std::wstring programPath;
  std::wstring programFolder;
  std::wstring startFolder;
  // Stores LastCheck = now in the setting file (self-update run).
  std::function<void()> stampLastCheck;
};

}  // namespace qxu
