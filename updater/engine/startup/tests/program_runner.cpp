#include "program_runner.h"

namespace {

struct BoxSearch {
  HWND found = nullptr;
};

BOOL CALLBACK FindBox(HWND w, LPARAM p) {
  wchar_t cls[16] = {}, title[64] = {};
  GetClassNameW(w, cls, 16);
  GetWindowTextW(w, title, 64);
  if (IsWindowVisible(w) && wcscmp(cls, L"#32770") == 0 && wcscmp(title, L"QxUpdate") == 0) {
    reinterpret_cast<BoxSearch*>(p)->found = w;
    return FALSE;
  }
  return TRUE;
}

// One visible box answered, or false when there is none.
bool AnswerOne(std::vector<std::wstring>& messages) {
  BoxSearch s;
  EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&s));
  if (!s.found) return false;
  wchar_t text[2048] = {};
  GetDlgItemTextW(s.found, 0xFFFF, text, 2048);  // the message box's text control
  messages.push_back(text);
  PostMessageW(s.found, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 100 && IsWindow(s.found); ++i) Sleep(20);
  return true;
}

}  // namespace

std::wstring TestBuildFolder() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s = path;
  return s.substr(0, s.find_last_of(L'\\') + 1) + L"updater-engine-test\\";
}

ProgramRun RunProgram(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder,
                      DWORD timeoutMs) {
  ProgramRun result;
  std::wstring line = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    return result;
  const DWORD start = GetTickCount();
  while (WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT) {
    AnswerOne(result.messages);
    if (GetTickCount() - start > timeoutMs) {
      TerminateProcess(pi.hProcess, 99);
      WaitForSingleObject(pi.hProcess, 5000);
      break;
    }
  }
  GetExitCodeProcess(pi.hProcess, &result.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

std::vector<std::wstring> AnswerMessagesFor(DWORD waitMs) {
  std::vector<std::wstring> messages;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < waitMs) {
    if (!AnswerOne(messages)) Sleep(50);
  }
  return messages;
}

std::wstring FileVersionOf(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return std::wstring();
  std::vector<char> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return std::wstring();
  wchar_t* value = nullptr;
  UINT chars = 0;
  if (!VerQueryValueW(data.data(), L"\\StringFileInfo\\041104b0\\FileVersion", reinterpret_cast<void**>(&value),
                      &chars) || !value)
    return std::wstring();
  return value;
}

std::wstring UserName() {
  wchar_t name[256] = {};
  DWORD n = 256;
  GetUserNameW(name, &n);
  return name;
}
