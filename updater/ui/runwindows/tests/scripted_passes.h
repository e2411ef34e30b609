#pragma once
// Passes that stand in for the engine's in the window tests: they change the
// windows only through the calls the engine's passes use, follow keep going
// between files like them, and record what they saw from their thread.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

namespace qxu::test {

struct Observation {
  std::wstring status;
  int bar = -1;
  int bar2 = -1;
  bool windowVisible = false;
  RECT windowRect{};
  std::wstring tip;
  std::vector<HICON> trayIcons;
  bool trayAdded = false;
  bool taskbar = false;  // the taskbar object existed
};

struct Script {
  // Check results per item: 0 up to date, 1 newer, anything else unknown.
  std::vector<int> checkResults;
  DWORD checkDelayMs = 0;      // per file
  DWORD transferDelayMs = 0;   // per file
  bool waitForCancel = false;  // RunItems: transfer until keep going is 0
  HANDLE reported = nullptr;   // set once the first figures are on screen
  HANDLE checkDone = nullptr;  // set when the check pass has written its rows
  // Results
  Observation seen;
  std::vector<int> downloaded;
  std::vector<int> checked;
  std::atomic<bool> uiGoneDuringTransfer{false};
  std::atomic<bool> finished{false};
};

Script& CurrentScript();
void ResetScript();

DWORD WINAPI ScriptedRunItems(LPVOID);
DWORD WINAPI ScriptedCheckPass(LPVOID);
DWORD WINAPI ScriptedDownloadPass(LPVOID);

}  // namespace qxu::test
