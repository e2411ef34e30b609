#include "file_system.h"

#include <windows.h>

#include "ansi_path.h"
#include "handles.h"

namespace vantilo {

namespace {
bool AnsiLead(unsigned char b) { return IsDBCSLeadByte(b) != FALSE; }

bool IdentityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  // Backup semantics lets a folder be opened too.
  FileHandle h(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return h && GetFileInformationByHandle(h.Get(), &info);
}
}  // namespace

std::string LookUpName(const std::string& path) {
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA(path.c_str(), &found));
  if (!find) return path;
  return FolderPart(path, AnsiLead) + found.cFileName;
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileIdOf(const std::string& path, FileId& id) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!IdentityOf(path, info)) return false;
  id.volume = info.dwVolumeSerialNumber;
  id.high = info.nFileIndexHigh;
  id.low = info.nFileIndexLow;
  return true;
}

bool SameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION x, y;
  if (!IdentityOf(a, x) || !IdentityOf(b, y)) return false;
  return x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
         x.nFileIndexLow == y.nFileIndexLow;
}

std::string AbsolutePath(const std::string& path) {
  char buffer[MAX_PATH * 4];
  const DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  if (n == 0 || n >= sizeof buffer) return path;
  return std::string(buffer, n);
}

bool AppendLine(const std::string& path, const std::string& text) {
  FileHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const std::string line = text + "\r\n";
  DWORD written = 0;
  return WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

}  // namespace vantilo
