#pragma once
// Drives the real run windows and main window of this build over a real
// run session: the language library next to the test, a setting file in a
// temporary folder, the engine's own passes against the loopback servers,
// a thread that watches the windows while a pass runs, and a watcher that
// answers message boxes.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/runwindows/win32/run_windows.h"
#include "engine/run/win32/update_session.h"
#include "win32/dialogs.h"
#include "win32/files.h"

namespace qxu::test {

using qxtest::ProgramFolder;

// UTF-8, as the tests write the texts they expect.
inline std::string Narrow(const std::wstring& text) { return qxtest::Narrow(text, CP_UTF8); }

// A message box the watcher saw.
struct SeenBox {
  std::wstring caption;
  std::wstring text;
  bool settingFileExisted = false;  // when the box came up
};

// Message boxes of this process are recorded as they come up (a hook on
// the creating thread, so that a box closed by someone else still counts)
// and answered from a thread of their own: with otherDialogs' answer when
// it gives one, else message boxes with OK and other dialogs not at all.
class Watcher {
 public:
  explicit Watcher(std::wstring settingFile, qxtest::DialogWatcher::Reply otherDialogs = nullptr);
  std::vector<SeenBox> Boxes() const;
  std::string Describe() const { return watcher_.Describe(); }  // for assertion messages

 private:
  const std::wstring settingFile_;
  const qxtest::DialogWatcher::Reply other_;
  mutable std::mutex lock_;
  std::vector<bool> settingFileExisted_;  // of every dialog recorded, in order
  qxtest::DialogWatcher watcher_;  // last: stops before the rest goes
};

// One run as the program composes it: a session, the settings and the
// windows over them, a setting file of its own and a folder for the files.
// The main window's start timer calls beginRun, by default the run window
// that the options ask for.
class WindowsRun {
 public:
  explicit WindowsRun(const std::wstring& iniName);
  ~WindowsRun();
  WindowsRun(const WindowsRun&) = delete;
  WindowsRun& operator=(const WindowsRun&) = delete;

  // False when the language library could not be loaded.
  bool Ready() const { return windows != nullptr; }
  // An item of the table: server folder URL, file name, local path.
  void AddItem(const std::wstring& urlFolder, const std::wstring& name, const std::wstring& local);
  // Creates the main window and runs the loop until it ends; false when the
  // main window could not be made.
  bool RunMainWindow();
  // A key of the run's setting file.
  std::wstring IniValue(const wchar_t* key) const;
  // The confirm list of the open run window, or none.
  HWND List() const;
  // The confirm window's check is over: the action button reads "実行"
  // again and is enabled, with every row looked at (the caption alone is
  // also the template's).
  bool CheckDone() const;

  qxtest::TempFolder folder{L"qxu-windows"};  // the setting file and the items' local files
  std::wstring iniPath;
  UpdaterSettings settings;
  UpdateSession session;
  std::unique_ptr<RunWindows> windows;
};

// The text of a list cell.
std::wstring ListCell(HWND list, int row, int column);

// Polls condition every 25 ms; false when it is still false after timeoutMs.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs);

// A loopback HTTP server of the test's own whose answers wait for the
// test. Without a file every request is held unanswered until Release, then
// answered 404. With a file (the same for every path) a request gets its
// headers and the first bytes at once, the rest only after Release. Every
// request line is noted.
class HeldServer {
 public:
  HeldServer();
  ~HeldServer();
  HeldServer(const HeldServer&) = delete;
  HeldServer& operator=(const HeldServer&) = delete;

  bool Listening() const { return port_ != 0; }
  std::wstring Folder() const;  // "http://127.0.0.1:<port>/held/"
  void Serve(const std::string& body, const FILETIME& lastModified, std::size_t sentAtOnce);
  std::vector<std::string> Requests() const;
  // Answers the held requests in full, and every later one at once.
  void Release();

 private:
  static DWORD WINAPI Accept(LPVOID self);
  void Begin(std::uintptr_t socket);
  void Finish(std::uintptr_t socket);

  std::uintptr_t listener_;
  int port_ = 0;
  HANDLE thread_ = nullptr;
  mutable std::mutex lock_;
  std::string head_, body_;
  std::size_t sentAtOnce_ = 0;
  bool serving_ = false;
  std::vector<std::string> requests_;
  std::vector<std::uintptr_t> held_;
  bool released_ = false;
};

// What a thread of the test saw of the windows at one moment.
struct Observation {
  std::wstring status;
  int bar = -1;
  int bar2 = -1;
  bool windowVisible = false;
  RECT windowRect{};
  std::wstring tip;
  bool trayAdded = false;
  bool taskbar = false;  // the taskbar object existed
};
Observation Observe(RunWindows& w);

// Watches the run window from a thread of its own while the pass runs: the
// status line and bar every 10 ms, and once the first download is partway
// (status "ダウンロード中", bar strictly between the ends) a full
// observation, then the tray icon for trayMs. Ends when the run window has
// gone again.
class RunObserver {
 public:
  struct Sample {
    std::wstring status;
    int bar;
  };
  RunObserver(RunWindows& w, DWORD trayMs);
  ~RunObserver();
  RunObserver(const RunObserver&) = delete;
  RunObserver& operator=(const RunObserver&) = delete;
  void Wait();  // until the thread ended

  HANDLE partway() const { return partway_.get(); }  // set after the full observation
  bool sawWindow = false;
  bool sawVisible = false;  // some sample found the run window visible
  bool sawPartway = false;
  Observation seen;  // at the first partway sample
  std::vector<HICON> trayIcons;
  std::vector<Sample> samples;

 private:
  static DWORD WINAPI Run(LPVOID self);
  RunWindows& w_;
  const DWORD trayMs_;
  qxtest::KernelHandle partway_;
  qxtest::KernelHandle thread_;
};

}  // namespace qxu::test

namespace qxu::test {

// A copy of a window's client pixels as the window draws them.
class Capture {
 public:
  explicit Capture(HWND window);
  bool Valid() const { return !pixels_.empty(); }
  // Red, green, blue at client coordinates.
  COLORREF At(int x, int y) const;
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_ = 0, height_ = 0;
  std::vector<unsigned> pixels_;
};

// The icon drawn 16 by 16 on a background, as a capture would show it.
std::vector<COLORREF> IconOn(HICON icon, COLORREF background);

// Runs the restart probe's record: lines written by the probe, waiting up
// to timeoutMs for the first one.
std::vector<std::string> ProbeLines(const std::wstring& record, DWORD timeoutMs);

}  // namespace qxu::test
