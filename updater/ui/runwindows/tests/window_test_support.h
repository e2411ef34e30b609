#pragma once
// Drives the real run windows and main window of this build: the language
// library next to the test, a setting file in a temporary folder, scripted
// passes standing in for the engine's, and a watcher thread that answers
// message boxes.
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/workers/win32/run_shared.h"
#include "ui/runwindows/win32/run_binding.h"
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
// and answered with OK from a thread of their own.
class Watcher {
 public:
  Watcher();
  std::vector<SeenBox> Boxes() const;
  std::string Describe() const { return watcher_.Describe(); }  // for assertion messages

 private:
  mutable std::mutex lock_;
  std::vector<bool> settingFileExisted_;  // of every dialog recorded, in order
  qxtest::DialogWatcher watcher_;  // last: stops before the rest goes
};

// One process-wide set-up of the binding; every test resets the values.
struct WindowsFixtureState {
  HMODULE library = nullptr;
  ProgramIdentity* identity = nullptr;
  UpdaterSettings settings;
  RunState run;
  int silent = 0, information = 1, confirm = 0, noRestart = 0, deleteSetting = 0, ownUpdate = 0;
  int proxyUserUse = 0;
  wchar_t* proxyUser = nullptr;
  wchar_t* proxyScrambled = nullptr;
  wchar_t* restartProgram = nullptr;
  wchar_t* restartArguments = nullptr;
  wchar_t* settingFile = nullptr;
  wchar_t* commandLine = nullptr;
  std::vector<std::wstring> items;
  qxtest::TempFolder folder{L"qxu-windows"};  // the setting file's and the tests' own files
  std::wstring iniPath;
  // Called by the main window's start timer in place of BeginRun.
  std::function<void()> begin;
};

WindowsFixtureState& State();

// Loads the library, icons and identity once; resets options, settings, run
// state and the setting file for a test.
bool PrepareWindows(const std::wstring& iniName);
void SetString(wchar_t** field, const wchar_t* value);

// Creates the main window and runs the loop until it ends; the start timer
// calls State().begin. Returns false when the main window could not be made.
bool RunMainWindow();

// A key of the test's setting file.
inline std::wstring IniValue(const wchar_t* key) { return qxtest::ProfileValue(State().iniPath, L"QxUpdate", key); }

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
