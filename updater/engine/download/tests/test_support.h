// Helpers of the downloader tests: the local servers' addresses, files with
// chosen times, and a record of the progress reports.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <string>
#include <utility>
#include <vector>


int EnvPort(const char* name);
std::wstring EnvPath(const char* name);
std::wstring HttpUrl(const std::wstring& pathAndMode);
std::wstring HttpsUrl(const std::wstring& pathAndMode, const wchar_t* scheme = L"https");

// Whole seconds: the server's Last-Modified carries no finer time.
FILETIME FileTimeOf(int year, int month, int day, int hour, int minute, int second);
bool SameTime(const FILETIME& a, const FILETIME& b);
std::uint64_t Ticks(const FILETIME& t);

std::string PatternBytes(std::size_t size, unsigned seed);
void WriteBytes(const std::wstring& path, const std::string& bytes, const FILETIME* time = nullptr);
bool ReadBytes(const std::wstring& path, std::string* bytes);
bool LastWriteTime(const std::wstring& path, FILETIME* time);
bool Exists(const std::wstring& path);
// The file holds exactly these bytes and carries this last-write time.
::testing::AssertionResult StoredAs(const std::wstring& path, const std::string& bytes, const FILETIME& time);
void RemoveTree(const std::wstring& path);

// A fresh folder below the temporary folder, removed with its contents.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// A file in the server's document root, removed again at the end.
class ServedFile {
 public:
  ServedFile(const std::wstring& name, const std::string& bytes, const FILETIME* time);
  ~ServedFile();
  ServedFile(const ServedFile&) = delete;
  ServedFile& operator=(const ServedFile&) = delete;
  const std::wstring& name() const { return name_; }

 private:
  std::wstring name_;
  std::wstring path_;
};

// Progress reports the downloader made since the last Clear.
struct ProgressLog {
  static void Callback(const wchar_t* text, double value);
  static void Clear();
  static std::vector<std::pair<std::wstring, double>> Entries();
  static std::vector<std::wstring> Texts();  // consecutive repeats folded
};

// Answers the platform's proxy password dialog of this process from another
// thread, as a user would: fills user and password and presses OK (or Cancel).
class DialogWatcher {
 public:
  DialogWatcher(const wchar_t* user, const wchar_t* password, bool accept);
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;
  int answered() const { return answered_; }

 private:
  void Run();
  const wchar_t* user_;
  const wchar_t* password_;
  bool accept_;
  std::atomic<bool> stop_{false};
  std::atomic<int> answered_{0};
  std::thread thread_;
};
