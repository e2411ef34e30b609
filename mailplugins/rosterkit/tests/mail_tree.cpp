#include "mail_tree.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>

namespace {

// Extended-length form, so trees deeper than the platform's path limit can be
// made and removed for the tests that need them.
std::wstring Long(const std::string& ansiPath) {
  std::wstring wide(MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
  wide.pop_back();
  return L"\\\\?\\" + wide;
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(folder + name + L"\\");
      } else {
        DeleteFileW((folder + name).c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

MailTree::MailTree() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  // A tree left by an earlier, killed run may hold the same name.
  static int serial = 0;
  for (int attempt = 0;; ++attempt) {
    char name[64];
    std::snprintf(name, sizeof name, "rk%lu_%d\\", GetCurrentProcessId(), ++serial);
    root_ = std::string(temp) + name;
    if (CreateDirectoryA(root_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS || attempt > 1000) throw std::runtime_error("cannot create " + root_);
  }
}

MailTree::~MailTree() { RemoveTree(Long(root_)); }

std::string MailTree::Folder(const std::string& relative) {
  std::string path = root_ + relative;
  if (!CreateDirectoryW(Long(path).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    throw std::runtime_error("cannot create " + path);
  }
  return path + "\\";
}

std::string MailTree::File(const std::string& relative, const std::string& bytes) {
  std::string path = root_ + relative;
  HANDLE file = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return path;
}

std::string ModuleFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}
