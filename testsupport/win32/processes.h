// Programs the tests start: a child process that never outlives its owner,
// runs with an exit code and a time limit, and the processes of a program.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "owned.h"

namespace qxtest {

// A started program; the destructor ends it by its handle when it still runs.
class ChildProcess {
 public:
  // Starts exe with the argument text in folder (the program's own folder
  // when empty). started() tells whether it could.
  ChildProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder = L"");
  ~ChildProcess();
  ChildProcess(ChildProcess&&) = default;
  ChildProcess& operator=(ChildProcess&&) = default;

  bool started() const { return static_cast<bool>(process_); }
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_.get(); }
  bool Running() const;
  // Waits up to timeoutMs; a program still running then is ended. The exit
  // code, or -1 when it did not start or had to be ended.
  int Wait(DWORD timeoutMs);

 private:
  KernelHandle process_;
  DWORD id_ = 0;
};

// Starts, waits and returns the exit code (-1: no start, or over the limit).
int RunProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder,
               DWORD timeoutMs = 60000);

struct ProcessInfo {
  DWORD id = 0;
  std::wstring commandLine;
};
// Running processes of the program file name (for example QxUpdate.exe)
// other than those in known, with their command lines.
std::vector<ProcessInfo> ProcessesOf(const wchar_t* exeName, const std::vector<DWORD>& known = {});

// The account this process runs as (per-user file names carry it).
std::wstring UserName();

}  // namespace qxtest
