#include "files.h"

#include <algorithm>
#include <stdexcept>

#include "owned.h"

namespace qxtest {

std::string Narrow(const std::wstring& text, UINT codePage) {
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                    nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring Widen(const std::string& text, UINT codePage) {
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

TempFolder::TempFolder(const wchar_t* prefix) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static LONG counter = 0;
  for (;;) {
    path_ = std::wstring(base) + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(InterlockedIncrement(&counter));
    if (CreateDirectoryW(path_.c_str(), nullptr)) return;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no temporary folder");
  }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::wstring LongPath(const std::wstring& path) {
  if (path.compare(0, 4, L"\\\\?\\") == 0 || path.size() < 3 || path[1] != L':') return path;
  return L"\\\\?\\" + path;
}

void RemoveTree(const std::wstring& folder) {
  const std::wstring root = LongPath(folder);
  for (const std::wstring& name : ListFolder(root)) {
    const std::wstring child = root + L"\\" + name;
    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (FolderExists(child)) {
      RemoveTree(child);
    } else {
      DeleteFileW(child.c_str());
    }
  }
  RemoveDirectoryW(root.c_str());
}

bool WriteBytes(const std::wstring& path, const std::string& bytes, const FILETIME* lastWrite) {
  KernelHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (!WriteFile(file.get(), bytes.data() + done, want, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return !lastWrite || SetFileTime(file.get(), lastWrite, lastWrite, lastWrite);
}

bool ReadBytes(const std::wstring& path, std::string* bytes) {
  KernelHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  if (!file) return false;
  bytes->clear();
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) bytes->append(chunk, got);
  return true;
}

std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  ReadBytes(path, &bytes);
  return bytes;
}

bool FileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> ListFolder(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  FindHandle find(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find.get(), &found));
  std::sort(names.begin(), names.end());
  return names;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring program(path, n);
  return program.substr(0, program.find_last_of(L'\\') + 1);
}

std::wstring ProfileValue(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
  std::string bytes;
  if (!ReadBytes(path, &bytes)) return L"<none>";
  std::wstring text;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    text.assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
  } else {
    text = Widen(bytes);
  }
  auto trim = [](const std::wstring& value) {
    const size_t first = value.find_first_not_of(L" \t\r");
    const size_t last = value.find_last_not_of(L" \t\r");
    return first == std::wstring::npos ? std::wstring() : value.substr(first, last - first + 1);
  };
  const std::wstring header = std::wstring(L"[") + section + L"]";
  bool inSection = false;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = trim(text.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line[0] == L'[') {
      inSection = _wcsicmp(line.c_str(), header.c_str()) == 0;
      continue;
    }
    const size_t equals = line.find(L'=');
    if (inSection && equals != std::wstring::npos && _wcsicmp(trim(line.substr(0, equals)).c_str(), key) == 0)
      return trim(line.substr(equals + 1));
  }
  return L"<none>";
}

}  // namespace qxtest
