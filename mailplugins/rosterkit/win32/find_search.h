// Owner of one FindFirstFileA search.
#pragma once

#include <windows.h>

namespace rosterkit {

class FindSearch {
 public:
  explicit FindSearch(const char* pattern) : handle_(FindFirstFileA(pattern, &entry_)) {}
  ~FindSearch() {
    if (Found()) FindClose(handle_);
  }
  FindSearch(const FindSearch&) = delete;
  FindSearch& operator=(const FindSearch&) = delete;

  bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Next() { return FindNextFileA(handle_, &entry_) != FALSE; }
  const char* name() const { return entry_.cFileName; }
  bool IsFolder() const { return (entry_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

 private:
  WIN32_FIND_DATAA entry_;
  HANDLE handle_;
};

}  // namespace rosterkit
