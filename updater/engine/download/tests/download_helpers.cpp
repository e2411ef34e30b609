#include "engine/download/tests/download_helpers.h"

#include <mutex>

#include "win32/files.h"

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

bool LastWriteTime(const std::wstring& path, FILETIME* time) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  *time = data.ftLastWriteTime;
  return true;
}

std::string PatternBytes(std::size_t size, unsigned seed) {
  std::string s(size, '\0');
  unsigned x = seed * 2654435761u + 1;
  for (std::size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    s[i] = static_cast<char>(x >> 16);
  }
  return s;
}

::testing::AssertionResult StoredAs(const std::wstring& path, const std::string& bytes, const FILETIME& time) {
  std::string stored;
  if (!qxtest::ReadBytes(path, &stored)) return ::testing::AssertionFailure() << "cannot read the stored file";
  if (stored != bytes) {
    return ::testing::AssertionFailure() << "stored " << stored.size() << " bytes differ from the " << bytes.size()
                                         << " expected";
  }
  FILETIME t = {};
  if (!LastWriteTime(path, &t)) return ::testing::AssertionFailure() << "no last-write time";
  if (!SameTime(t, time)) return ::testing::AssertionFailure() << "last-write time differs";
  return ::testing::AssertionSuccess();
}

void ProgressLog::Callback(void* log, const wchar_t* text, double value) {
  auto& self = *static_cast<ProgressLog*>(log);
  std::lock_guard<std::mutex> lock(self.lock_);
  self.entries_.emplace_back(text ? text : L"", value);
}

void ProgressLog::Clear() {
  std::lock_guard<std::mutex> lock(lock_);
  entries_.clear();
}

std::vector<std::pair<std::wstring, double>> ProgressLog::Entries() const {
  std::lock_guard<std::mutex> lock(lock_);
  return entries_;
}

std::vector<std::wstring> ProgressLog::Texts() const {
  std::vector<std::wstring> texts;
  for (const auto& e : Entries())
    if (texts.empty() || texts.back() != e.first) texts.push_back(e.first);
  return texts;
}

namespace {
BOOL CALLBACK CollectEdits(HWND w, LPARAM p) {
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (_wcsicmp(cls, L"Edit") == 0) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}
}  // namespace

qxtest::DialogWatcher::Reply ProxyPassword(const wchar_t* user, const wchar_t* password, bool accept) {
  const std::wstring u = user, p = password;
  return [u, p, accept](const qxtest::SeenDialog& seen) {
    std::vector<HWND> edits;
    EnumChildWindows(seen.window, &CollectEdits, reinterpret_cast<LPARAM>(&edits));
    if (edits.size() >= 2) {
      SendMessageTimeoutW(edits[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u.c_str()), SMTO_NORMAL, 5000, nullptr);
      SendMessageTimeoutW(edits[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(p.c_str()), SMTO_NORMAL, 5000, nullptr);
    }
    return accept ? IDOK : IDCANCEL;
  };
}
