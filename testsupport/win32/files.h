// Files and folders for the Windows tests: a temporary folder that goes
// with its content, whole-file reads and writes, and text conversions.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace qxtest {

std::string Narrow(const std::wstring& text, UINT codePage = CP_ACP);
std::wstring Widen(const std::string& text, UINT codePage = CP_ACP);

// A fresh folder below the temporary folder, removed with its content. Its
// path is plain ASCII, so the narrow forms name the same folder.
class TempFolder {
 public:
  explicit TempFolder(const wchar_t* prefix = L"qxt");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Without a trailing backslash.
  const std::wstring& path() const { return path_; }
  std::string pathA() const { return Narrow(path_); }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
  std::wstring operator/(const wchar_t* name) const { return path_ + L"\\" + name; }
  std::string operator/(const std::string& name) const { return pathA() + "\\" + name; }
  std::string operator/(const char* name) const { return pathA() + "\\" + name; }

 private:
  std::wstring path_;
};

// Removes a folder with everything in it, read-only files included, however
// deep the tree goes.
void RemoveTree(const std::wstring& folder);

// The extended-length form of an absolute path ("\\?\C:\..."), which the
// file functions take beyond the platform's usual path limit.
std::wstring LongPath(const std::wstring& path);

// Whole-file writes and reads; paths of any length.
bool WriteBytes(const std::wstring& path, const std::string& bytes, const FILETIME* lastWrite = nullptr);
bool ReadBytes(const std::wstring& path, std::string* bytes);
std::string ReadBytes(const std::wstring& path);  // empty when unreadable
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Names in a folder without "." and "..", sorted.
std::vector<std::wstring> ListFolder(const std::wstring& folder);

// Folder of the running test program, with a trailing backslash.
std::wstring ProgramFolder();

// A value of a section of a private-profile file, read from the file itself
// (the platform's profile cache in this process may still hold a section as
// it was handed over); UTF-16 and ANSI files alike. "<none>" when missing.
std::wstring ProfileValue(const std::wstring& path, const wchar_t* section, const wchar_t* key);

}  // namespace qxtest
