#include "ui/options/win32/help_display.h"

#include <cwchar>
#include <vector>

#include "engine/support/win32/resource_library.h"
#include "engine/support/win32/unique_handle.h"
#include "engine/identity/win32/program_identity.h"

namespace qxu {
namespace {

constexpr UINT kHelpDisplayToc = 0x01;
constexpr UINT kHelpCloseAll = 0x12;
constexpr UINT kHelpInitialize = 0x1C;
constexpr UINT kHelpUninitialize = 0x1D;
constexpr DWORD kPathChars = 8192;

using HtmlHelpFunction = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);

// subKey of parent opened for reading; none when it cannot be opened.
RegKey OpenForReading(HKEY parent, const wchar_t* subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return RegKey();
  return RegKey(key);
}

// The HTML Help control, loaded once and kept for the process.
HtmlHelpFunction HtmlHelpEntry() {
  static ModuleHandle control;
  static HtmlHelpFunction entry = nullptr;
  static bool tried = false;
  if (tried) return entry;
  tried = true;
  const RegKey key =
      OpenForReading(HKEY_CLASSES_ROOT, L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32");
  if (key) {
    wchar_t stored[kPathChars] = L"", expanded[kPathChars] = L"";
    DWORD bytes = sizeof stored - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(stored),
                         &bytes) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
      stored[bytes / sizeof(wchar_t)] = 0;
      const DWORD length = ExpandEnvironmentStringsW(stored, expanded, kPathChars);
      if (length > 0 && length <= kPathChars) control.reset(LoadLibraryW(expanded));
    }
  }
  if (!control) control.reset(LoadLibraryW(L"hhctrl.ocx"));
  if (control)
    entry = reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void*>(GetProcAddress(control.get(), MAKEINTRESOURCEA(15))));
  return entry;
}

bool FileExists(const wchar_t* path) {
  const DWORD attributes = path ? GetFileAttributesW(path) : INVALID_FILE_ATTRIBUTES;
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int ShowHelp(ProgramIdentity* identity, HWND owner, const wchar_t* helpFile, const wchar_t* topic) {
  if (!FileExists(helpFile)) {
    MessageBoxW(owner, kHelpMissingText, kHelpMissingCaption, MB_ICONWARNING | MB_OK);
    return 1;
  }
  HtmlHelpFunction help = HtmlHelpEntry();
  if (!help) return 1;
  if (identity && identity->helpStarted) {
    help(nullptr, nullptr, kHelpCloseAll, 0);
  } else {
    DWORD cookie = 0;
    help(nullptr, nullptr, kHelpInitialize, reinterpret_cast<DWORD_PTR>(&cookie));
    if (identity) {
      identity->helpCookie = cookie;
      identity->helpStarted = 1;
    }
  }
  std::vector<wchar_t> targetBuffer(kPathChars);
  wchar_t* target = targetBuffer.data();
  if (topic && *topic)
    _snwprintf(target, kPathChars - 1, L"%ls::%ls", helpFile, topic);
  else
    _snwprintf(target, kPathChars - 1, L"%ls", helpFile);
  target[kPathChars - 1] = 0;
  help(owner, target, kHelpDisplayToc, 0);
  return 1;
}

void EndHelp(ProgramIdentity* identity) {
  if (!identity || !identity->helpStarted) return;
  if (HtmlHelpFunction help = HtmlHelpEntry())
    help(nullptr, nullptr, kHelpUninitialize, identity->helpCookie);
  identity->helpStarted = 0;
}

}  // namespace qxu
