// Process-wide records of one updater run: the options, the item table, the
// run state, the one downloader, and the port through which the run reaches
// its windows.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "http_downloader.h"
#include "run_outcome.h"

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

// Every string is an owned string (DupString); the record frees them.
struct UpdaterOptions {
  int silent = 0;
  int information = 1;
  int confirm = 0;
  int forceUpdate = 0;
  int noCheckUpdate = 0;
  int ownUpdate = 0;
  int deleteSetting = 0;
  int proxyNotUse = 0;
  int proxyUserUse = 0;
  wchar_t* proxyServer = nullptr;
  wchar_t* proxyPort = nullptr;
  wchar_t* proxyUser = nullptr;
  wchar_t* proxyPassword = nullptr;
  wchar_t* proxyPasswordScrambled = nullptr;
  wchar_t* restartProgram = nullptr;
  wchar_t* restartArguments = nullptr;
  int noRestart = 0;
  wchar_t* settingFile = nullptr;
  // ArgumentProxyField bits: the stored credentials are not handed to a
  // proxy that the arguments name.
  unsigned argumentProxyFields = 0;

  UpdaterOptions() = default;
  ~UpdaterOptions() { Reset(); }
  UpdaterOptions(const UpdaterOptions&) = delete;
  UpdaterOptions& operator=(const UpdaterOptions&) = delete;
  // Frees the strings and returns every field to its reset value.
  void Reset();
};

struct DownloadItem {
  int enabled = 1;
  wchar_t* urlFolder = nullptr;
  wchar_t* fileName = nullptr;
  wchar_t* localPath = nullptr;
  std::uint32_t sizeLow = 0;  // known size found by the confirm window's check
  std::uint32_t sizeHigh = 0;
  FILETIME serverTime = {};

  DownloadItem() = default;
  ~DownloadItem();
  DownloadItem(const DownloadItem&) = delete;
  DownloadItem& operator=(const DownloadItem&) = delete;
};

inline constexpr int kItemSlots = 1000;

// What the run needs from its windows. The run windows implement it; a run
// without windows (the foreground self-update) uses none.
class RunWindowPort {
 public:
  virtual ~RunWindowPort() = default;
  // BeginRun's window step: the confirm window (confirm 1) or the progress
  // window, created hidden when silent. The window starts the run itself.
  // False when the window cannot be made.
  virtual bool OpenRunWindow(int confirm, int silent) = 0;
  // Ends a run that never got its window, as the window's close would.
  virtual void EndRunWithoutWindow() = 0;
  // Progress routine handed to the downloader by every per-file step.
  virtual ProgressCallback ProgressRoutine() = 0;
  // Confirm window list: status column text, check marks.
  virtual void SetItemStatus(int index, const wchar_t* text) = 0;
  virtual void SetItemChecked(int index, int checked) = 0;
  virtual int ItemChecked(int index) = 0;
  // Run button and download bar of the confirm window around the passes.
  virtual void CheckPassBegins() = 0;
  virtual void CheckPassEnds() = 0;
  virtual void DownloadPassBegins() = 0;
  // Window command to the current run window (1 stop or start, 2 finished).
  virtual void SendRunCommand(int command) = 0;
  // A message box with the program's caption; type as for MessageBoxW.
  virtual void ShowMessage(const wchar_t* text, unsigned type) = 0;
};

struct UpdateEngine {
  UpdaterOptions options;
  std::unique_ptr<DownloadItem> items[kItemSlots];
  int itemCount = 0;
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

  // Options, run state and item slots back to their reset values.
  void Reset();
  void FreeItems();
};

// The one engine of the process (thread procedures take no argument).
UpdateEngine& TheEngine();

}  // namespace qxu
