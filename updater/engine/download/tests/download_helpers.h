// What the downloader's tests share beyond qx_testsupport: file times,
// reproducible bytes, the check of a stored file, the progress reports and
// the answer to the proxy's password dialog.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "win32/dialogs.h"

// Whole seconds: the server's Last-Modified carries no finer time.
FILETIME FileTimeOf(int year, int month, int day, int hour, int minute, int second);
bool SameTime(const FILETIME& a, const FILETIME& b);
std::uint64_t Ticks(const FILETIME& t);
bool LastWriteTime(const std::wstring& path, FILETIME* time);

std::string PatternBytes(std::size_t size, unsigned seed);
// The file holds exactly these bytes and carries this last-write time.
::testing::AssertionResult StoredAs(const std::wstring& path, const std::string& bytes, const FILETIME& time);

// Progress reports the downloader made since the last Clear.
// What a downloader reported, from any thread; context of Callback.
class ProgressLog {
 public:
  static void Callback(void* log, const wchar_t* text, double value);
  void Clear();
  std::vector<std::pair<std::wstring, double>> Entries() const;
  std::vector<std::wstring> Texts() const;  // consecutive repeats folded

 private:
  mutable std::mutex lock_;
  std::vector<std::pair<std::wstring, double>> entries_;
};

// Answers the platform's proxy password dialog as a user would: user and
// password typed into its two edits, then OK (accept) or Cancel.
qxtest::DialogWatcher::Reply ProxyPassword(const wchar_t* user, const wchar_t* password, bool accept);
