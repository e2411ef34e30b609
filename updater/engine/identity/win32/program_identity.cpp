#include "engine/identity/win32/program_identity.h"

#include <shlobj.h>

#include <cwchar>
#include <initializer_list>
#include <new>
#include <vector>

#include "engine/support/core/owned_string.h"
#include "engine/identity/core/version_text.h"
#include "engine/identity/win32/operating_system.h"

namespace qxu {
namespace {

constexpr DWORD kPathChars = 8192;

void FillPaths(ProgramIdentity* identity) {
  std::vector<wchar_t> pathBuffer(kPathChars);
  wchar_t* path = pathBuffer.data();
  std::vector<wchar_t> folderBuffer(kPathChars);
  wchar_t* folder = folderBuffer.data();
  std::vector<wchar_t> baseBuffer(kPathChars);
  wchar_t* base = baseBuffer.data();
  const DWORD length = GetModuleFileNameW(nullptr, path, kPathChars);
  if (length > 0 && length < kPathChars) {
    identity->programPath = DupString(path);
    if (SplitProgramPath(path, folder, kPathChars, base, kPathChars)) {
      identity->programFolder = DupString(folder);
      identity->baseName = DupString(base);
    }
  }
  const DWORD current = GetCurrentDirectoryW(kPathChars, path);
  if (current > 0 && current < kPathChars) identity->startFolder = DupString(path);
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
    identity->appDataFolder = DupString(path);
}

}  // namespace

ProgramIdentity* CreateIdentity() {
  ProgramIdentity* identity = new (std::nothrow) ProgramIdentity();
  if (!identity) return nullptr;
  FillOperatingSystemFields(identity);
  FillPaths(identity);
  return identity;
}

void DestroyIdentity(ProgramIdentity* identity) {
  if (!identity) return;
  for (wchar_t* text :
       {identity->osName, identity->programName, identity->description, identity->seriesKey,
        identity->copyrightHolder, identity->copyrightYears, identity->releaseDate,
        identity->webAddress, identity->programPath, identity->programFolder, identity->baseName,
        identity->startFolder, identity->appDataFolder, identity->versionText,
        identity->settingFilePath})
    FreeString(text);
  delete identity;
}

int SetIdentity(ProgramIdentity* identity, const wchar_t* programName,
                const wchar_t* description, const wchar_t* seriesKey,
                unsigned long versionNumber, long minorNumber, long buildNumber,
                const wchar_t* copyrightHolder, const wchar_t* copyrightYears,
                const wchar_t* releaseDate, const wchar_t* webAddress) {
  if (!identity) return 1;
  identity->programName = ReplaceString(identity->programName, programName);
  identity->description = ReplaceString(identity->description, description);
  identity->seriesKey = ReplaceString(identity->seriesKey, seriesKey);
  identity->copyrightHolder = ReplaceString(identity->copyrightHolder, copyrightHolder);
  identity->copyrightYears = ReplaceString(identity->copyrightYears, copyrightYears);
  identity->releaseDate = ReplaceString(identity->releaseDate, releaseDate);
  identity->versionNumber = versionNumber;
  identity->minorNumber = minorNumber;
  identity->buildNumber = buildNumber;
  identity->webAddress =
      ReplaceString(identity->webAddress, webAddress ? webAddress : kDefaultWebAddress);
  return 1;
}

int SetQxUpdateIdentity(ProgramIdentity* identity) {
  return SetIdentity(identity, kProgramName, kProgramDescription, kSeriesKey, kVersionNumber,
                     kMinorNumber, kBuildNumber, kCopyrightHolder, kCopyrightYears, kReleaseDate,
                     nullptr);
}

const wchar_t* GetVersionText(ProgramIdentity* identity) {
  if (!identity) return L"";
  FreeString(identity->versionText);
  identity->versionText = nullptr;
  wchar_t text[kPathChars];
  if (FormatVersionText(identity->versionNumber, identity->minorNumber, identity->buildNumber,
                        text, kPathChars))
    identity->versionText = DupString(text);
  return identity->versionText ? identity->versionText : L"";
}

int SetProgramTitle(ProgramIdentity* identity, HWND window) {
  std::vector<wchar_t> titleBuffer(kPathChars);
  wchar_t* title = titleBuffer.data();
  const wchar_t* name = identity && identity->programName ? identity->programName : L"";
  _snwprintf(title, kPathChars - 1, L"%ls %ls", name, GetVersionText(identity));
  title[kPathChars - 1] = 0;
  SetWindowTextW(window, title);
  return 1;
}

const wchar_t* MessageCaption(const ProgramIdentity* identity) {
  return identity && identity->programName ? identity->programName : kFallbackCaption;
}

}  // namespace qxu
