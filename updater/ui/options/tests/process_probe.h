#pragma once
// Another process of the updater seen from a test: its windows, and the
// command lines of the copies it starts.
#include <windows.h>

#include <string>
#include <vector>

namespace qxu::testing {

// Visible dialog windows (class #32770) of a process.
std::vector<HWND> ProcessDialogs(DWORD processId);

// Waits up to timeoutMs for a dialog of the process whose title is title
// (any when none) and that is not in known.
HWND WaitForProcessDialog(DWORD processId, const std::vector<HWND>& known,
                          const wchar_t* title = nullptr, int timeoutMs = 20000);

struct StartedProcess {
  DWORD id = 0;
  std::wstring commandLine;
};

// Processes running the given program file name (for example QxUpdate.exe)
// other than those in known, with their command lines.
std::vector<StartedProcess> ProcessesOf(const wchar_t* exeName, const std::vector<DWORD>& known);

}  // namespace qxu::testing
