#include "processes.h"

#include <tlhelp32.h>
#include <winternl.h>

namespace qxtest {

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder) {
  std::wstring line = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return;
  CloseHandle(info.hThread);
  process_.Reset(info.hProcess);
  id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() {
  if (Running()) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
  }
}

bool ChildProcess::Running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

int ChildProcess::Wait(DWORD timeoutMs) {
  if (!process_) return -1;
  if (WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 5000);
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return static_cast<int>(code);
}

int RunProcess(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder,
               DWORD timeoutMs) {
  ChildProcess child(exe, arguments, folder);
  return child.Wait(timeoutMs);
}

namespace {

// The command line from the process's parameter block.
std::wstring CommandLineOf(DWORD processId) {
  KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return L"";
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(process.get(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
      !basic.PebBaseAddress)
    return L"";
  PEB peb{};
  RTL_USER_PROCESS_PARAMETERS parameters{};
  if (!ReadProcessMemory(process.get(), basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
      !ReadProcessMemory(process.get(), peb.ProcessParameters, &parameters, sizeof parameters, nullptr))
    return L"";
  std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
  if (!line.empty() &&
      !ReadProcessMemory(process.get(), parameters.CommandLine.Buffer, &line[0], parameters.CommandLine.Length,
                         nullptr))
    return L"";
  return line;
}

}  // namespace

std::vector<ProcessInfo> ProcessesOf(const wchar_t* exeName, const std::vector<DWORD>& known) {
  std::vector<ProcessInfo> found;
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    if (_wcsicmp(entry.szExeFile, exeName) != 0) continue;
    bool old = false;
    for (DWORD k : known) old = old || k == entry.th32ProcessID;
    if (!old) found.push_back({entry.th32ProcessID, CommandLineOf(entry.th32ProcessID)});
  }
  return found;
}

std::wstring UserName() {
  wchar_t name[256] = {};
  DWORD size = 256;
  return GetUserNameW(name, &size) ? name : L"";
}

}  // namespace qxtest
