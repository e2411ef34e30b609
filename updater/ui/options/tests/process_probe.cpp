#include "ui/options/tests/process_probe.h"

#include <tlhelp32.h>
#include <winternl.h>

#include "ui/about/tests/dialog_driver.h"

namespace qxu::testing {
namespace {

struct Search {
  DWORD processId;
  std::vector<HWND>* found;
};

BOOL CALLBACK CollectProcessDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (owner == search->processId && IsWindowVisible(window) && std::wstring(className) == L"#32770")
    search->found->push_back(window);
  return TRUE;
}

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// The command line from the process's environment block.
std::wstring CommandLineOf(DWORD processId) {
  Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process.valid()) return L"";
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(process.get(), ProcessBasicInformation, &basic, sizeof(basic),
                                nullptr) != 0 ||
      !basic.PebBaseAddress)
    return L"";
  PEB peb{};
  RTL_USER_PROCESS_PARAMETERS parameters{};
  if (!ReadProcessMemory(process.get(), basic.PebBaseAddress, &peb, sizeof(peb), nullptr) ||
      !ReadProcessMemory(process.get(), peb.ProcessParameters, &parameters, sizeof(parameters),
                         nullptr))
    return L"";
  std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
  if (!line.empty() && !ReadProcessMemory(process.get(), parameters.CommandLine.Buffer, line.data(),
                                          parameters.CommandLine.Length, nullptr))
    return L"";
  return line;
}

}  // namespace

std::vector<HWND> ProcessDialogs(DWORD processId) {
  std::vector<HWND> found;
  Search search{processId, &found};
  EnumWindows(CollectProcessDialog, reinterpret_cast<LPARAM>(&search));
  return found;
}

HWND WaitForProcessDialog(DWORD processId, const std::vector<HWND>& known, const wchar_t* title,
                          int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 20) {
    for (HWND window : ProcessDialogs(processId)) {
      bool old = false;
      for (HWND k : known) old = old || k == window;
      if (old || (title && WindowText(window) != title)) continue;
      return window;
    }
    Sleep(20);
  }
  return nullptr;
}

std::vector<StartedProcess> ProcessesOf(const wchar_t* exeName, const std::vector<DWORD>& known) {
  std::vector<StartedProcess> found;
  Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (_wcsicmp(entry.szExeFile, exeName) != 0) continue;
    bool old = false;
    for (DWORD k : known) old = old || k == entry.th32ProcessID;
    if (!old) found.push_back({entry.th32ProcessID, CommandLineOf(entry.th32ProcessID)});
  }
  return found;
}

}  // namespace qxu::testing
