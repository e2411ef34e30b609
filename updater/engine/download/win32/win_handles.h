// Non-copyable owners of the handles the downloader holds.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>
#include <utility>

#include "engine/support/win32/unique_handle.h"

namespace qxu {

struct InternetHandleTraits : NullEmptyTraits<HINTERNET> {
  static void Close(Handle h) noexcept { InternetCloseHandle(h); }
};
using InternetHandle = UniqueHandle<InternetHandleTraits>;

// A file being written under a temporary name; removed again unless it was
// moved into place with Commit. Until then it is marked for deletion, so
// that a process ended in the middle of a transfer leaves nothing behind.
class PartFile {
 public:
  explicit PartFile(std::wstring path) : path_(std::move(path)) {}
  ~PartFile() {
    file_.reset();
    if (!committed_) DeleteFileW(path_.c_str());
  }
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  bool Create() {
    file_.reset(CreateFileW(path_.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
    if (!file_.valid()) return false;
    // Where the mark is refused, the destructor still removes the file.
    marked_ = MarkForDeletion(true);
    return true;
  }
  HANDLE get() const { return file_.get(); }
  // Closes the file and moves it over `target`.
  bool Commit(const std::wstring& target) {
    if (marked_ && !MarkForDeletion(false)) return false;
    marked_ = false;
    if (!CloseHandle(file_.release())) return false;
    committed_ = MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    return committed_;
  }

 private:
  bool MarkForDeletion(bool remove) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    return SetFileInformationByHandle(file_.get(), FileDispositionInfo, &disposition, sizeof(disposition)) != FALSE;
  }

  std::wstring path_;
  FileHandle file_;
  bool marked_ = false;
  bool committed_ = false;
};

}  // namespace qxu
