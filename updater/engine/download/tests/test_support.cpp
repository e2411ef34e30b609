#include "test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>


int EnvPort(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::atoi(v) : 0;
}

std::wstring EnvPath(const char* name) {
  const char* v = std::getenv(name);
  if (!v) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, v, -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, v, -1, &w[0], n);
  return w;
}

std::wstring HttpUrl(const std::wstring& pathAndMode) {
  return L"http://127.0.0.1:" + std::to_wstring(EnvPort("QX_TEST_HTTP_PORT")) + L"/" + pathAndMode;
}

std::wstring HttpsUrl(const std::wstring& pathAndMode, const wchar_t* scheme) {
  return std::wstring(scheme) + L"://localhost:" + std::to_wstring(EnvPort("QX_TEST_HTTPS_PORT")) + L"/" + pathAndMode;
}

FILETIME FileTimeOf(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(hour);
  st.wMinute = static_cast<WORD>(minute);
  st.wSecond = static_cast<WORD>(second);
  FILETIME ft = {};
  SystemTimeToFileTime(&st, &ft);
  return ft;
}

std::uint64_t Ticks(const FILETIME& t) { return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
bool SameTime(const FILETIME& a, const FILETIME& b) { return Ticks(a) == Ticks(b); }

std::string PatternBytes(std::size_t size, unsigned seed) {
  std::string s(size, '\0');
  unsigned x = seed * 2654435761u + 1;
  for (std::size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    s[i] = static_cast<char>(x >> 16);
  }
  return s;
}

void WriteBytes(const std::wstring& path, const std::string& bytes, const FILETIME* time) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = 0;
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (!WriteFile(h, bytes.data() + done, want, &n, nullptr) || n == 0) break;
    done += n;
  }
  if (time) SetFileTime(h, time, time, time);
  CloseHandle(h);
}

bool ReadBytes(const std::wstring& path, std::string* bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bytes->clear();
  char buf[65536];
  DWORD n = 0;
  while (ReadFile(h, buf, sizeof(buf), &n, nullptr) && n > 0) bytes->append(buf, n);
  CloseHandle(h);
  return true;
}

bool LastWriteTime(const std::wstring& path, FILETIME* time) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  *time = data.ftLastWriteTime;
  return true;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTree(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
      else DeleteFileW(child.c_str());
    } while (FindNextFileW(find, &fd));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

ScratchFolder::ScratchFolder() {
  static int counter = 0;
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"qxdl-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
  RemoveTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

ServedFile::ServedFile(const std::wstring& name, const std::string& bytes, const FILETIME* time)
    : name_(name), path_(EnvPath("QX_TEST_DOCROOT") + L"\\" + name) {
  WriteBytes(path_, bytes, time);
}

ServedFile::~ServedFile() { DeleteFileW(path_.c_str()); }

namespace {
std::mutex g_logMutex;
std::vector<std::pair<std::wstring, double>> g_log;
}  // namespace

void ProgressLog::Callback(const wchar_t* text, double value) {
  std::lock_guard<std::mutex> lock(g_logMutex);
  g_log.emplace_back(text ? text : L"", value);
}

void ProgressLog::Clear() {
  std::lock_guard<std::mutex> lock(g_logMutex);
  g_log.clear();
}

std::vector<std::pair<std::wstring, double>> ProgressLog::Entries() {
  std::lock_guard<std::mutex> lock(g_logMutex);
  return g_log;
}

std::vector<std::wstring> ProgressLog::Texts() {
  std::vector<std::wstring> texts;
  for (const auto& e : Entries())
    if (texts.empty() || texts.back() != e.first) texts.push_back(e.first);
  return texts;
}

namespace {
struct DialogSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND w, LPARAM p) {
  DialogSearch* s = reinterpret_cast<DialogSearch*>(p);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (pid == s->pid && IsWindowVisible(w) && wcscmp(cls, L"#32770") == 0) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectEdits(HWND w, LPARAM p) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (_wcsicmp(cls, L"Edit") == 0) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}
}  // namespace

DialogWatcher::DialogWatcher(const wchar_t* user, const wchar_t* password, bool accept)
    : user_(user), password_(password), accept_(accept), thread_([this] { Run(); }) {}

DialogWatcher::~DialogWatcher() {
  stop_ = true;
  thread_.join();
}

void DialogWatcher::Run() {
  while (!stop_) {
    DialogSearch s = {GetCurrentProcessId(), nullptr};
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&s));
    if (s.found) {
      std::vector<HWND> edits;
      EnumChildWindows(s.found, &CollectEdits, reinterpret_cast<LPARAM>(&edits));
      if (edits.size() >= 2) {
        SendMessageW(edits[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(user_));
        SendMessageW(edits[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(password_));
      }
      ++answered_;
      PostMessageW(s.found, WM_COMMAND, accept_ ? IDOK : IDCANCEL, 0);
      // The next dialog may reuse the handle: wait until this one is gone.
      while (!stop_ && IsWindow(s.found) && IsWindowVisible(s.found)) Sleep(50);
    }
    Sleep(100);
  }
}

::testing::AssertionResult StoredAs(const std::wstring& path, const std::string& bytes, const FILETIME& time) {
  std::string stored;
  if (!ReadBytes(path, &stored)) return ::testing::AssertionFailure() << "cannot read the stored file";
  if (stored != bytes) {
    return ::testing::AssertionFailure() << "stored " << stored.size() << " bytes differ from the " << bytes.size()
                                         << " expected";
  }
  FILETIME t = {};
  if (!LastWriteTime(path, &t)) return ::testing::AssertionFailure() << "no last-write time";
  if (!SameTime(t, time)) return ::testing::AssertionFailure() << "last-write time differs";
  return ::testing::AssertionSuccess();
}
