// What the downloader's tests share beyond qx_testsupport: file times,
// reproducible bytes, the check of a stored file, the progress reports and
// the answer to the proxy's password dialog.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
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
struct ProgressLog {
  static void Callback(const wchar_t* text, double value);
  static void Clear();
  static std::vector<std::pair<std::wstring, double>> Entries();
  static std::vector<std::wstring> Texts();  // consecutive repeats folded
};

// Answers the platform's proxy password dialog as a user would: user and
// password typed into its two edits, then OK (accept) or Cancel.
qxtest::DialogWatcher::Reply ProxyPassword(const wchar_t* user, const wchar_t* password, bool accept);
