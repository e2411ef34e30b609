#include "engine/settings/win32/settings_file.h"

#include <cwchar>
#include <initializer_list>
#include <vector>

#include "engine/support/core/owned_string.h"
#include "engine/support/core/password_scrambler.h"
#include "engine/support/win32/unique_handle.h"
#include "engine/identity/win32/program_identity.h"
#include "engine/settings/win32/first_run.h"

namespace qxu {
namespace {

constexpr DWORD kPathChars = 8192;
constexpr DWORD kValueChars = 1024;
constexpr wchar_t kProbeName[] = L"__qxseries_check_writable.txt";

// Joins parts into out; false (out empty) when they do not fit.
bool Join(wchar_t* out, std::size_t size, std::initializer_list<const wchar_t*> parts) {
  std::size_t used = 0;
  for (const wchar_t* part : parts) {
    const std::size_t length = part ? std::wcslen(part) : 0;
    if (used + length >= size) {
      out[0] = 0;
      return false;
    }
    std::wmemcpy(out + used, part, length);
    used += length;
  }
  out[used] = 0;
  return true;
}

const wchar_t* Separator(const wchar_t* folder) {
  const std::size_t length = folder ? std::wcslen(folder) : 0;
  return length && (folder[length - 1] == L'\\' || folder[length - 1] == L'/') ? L"" : L"\\";
}

bool ProgramFolderWritable(const wchar_t* folder) {
  std::vector<wchar_t> probeBuffer(kPathChars);
  wchar_t* probe = probeBuffer.data();
  if (!Join(probe, kPathChars, {folder, Separator(folder), kProbeName})) return false;
  if (!FileHandle(CreateFileW(probe, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr)))
    return false;
  DeleteFileW(probe);
  return true;
}

// The per-user data folder ...\QxSeries\<base name>\, its folders made on the
// way; false when there is no application-data folder.
bool PerUserFolder(const ProgramIdentity* identity, wchar_t* out, std::size_t size) {
  if (!identity->appDataFolder) return false;
  if (!Join(out, size, {identity->appDataFolder, L"\\QxSeries"})) return false;
  CreateDirectoryW(out, nullptr);
  if (!Join(out, size, {identity->appDataFolder, L"\\QxSeries\\", identity->baseName})) return false;
  CreateDirectoryW(out, nullptr);
  return Join(out, size, {identity->appDataFolder, L"\\QxSeries\\", identity->baseName, L"\\"});
}

const wchar_t* SectionName(const ProgramIdentity* identity) {
  return identity->programName ? identity->programName : kProgramName;
}

const wchar_t* LegacySectionName(const ProgramIdentity* identity) {
  return identity->seriesKey ? identity->seriesKey : kSeriesKey;
}

// A new file starts as UTF-16 with its byte-order mark; the private-profile
// functions keep a file's encoding, so any proxy user name survives, not only
// those of the ANSI code page.
void CreateUnicodeFile(const wchar_t* path) {
  const FileHandle file(
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  static const unsigned char kMark[2] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(file.get(), kMark, sizeof kMark, &written, nullptr);
}

std::int32_t ReadInt(const wchar_t* section, const wchar_t* key, std::int32_t fallback,
                     const wchar_t* path) {
  return static_cast<std::int32_t>(GetPrivateProfileIntW(section, key, fallback, path));
}

}  // namespace

const wchar_t* GetSettingFilePath(ProgramIdentity* identity, int allowUserName) {
  if (!identity) return nullptr;
  if (identity->settingFilePath) return identity->settingFilePath;

  std::vector<wchar_t> folderBuffer(kPathChars);

  wchar_t* folder = folderBuffer.data();

  std::vector<wchar_t> pathBuffer(kPathChars);

  wchar_t* path = pathBuffer.data();

  std::vector<wchar_t> userBuffer(kPathChars);

  wchar_t* user = userBuffer.data();
  const wchar_t* programFolder = identity->programFolder ? identity->programFolder : L"";
  bool useUserName = allowUserName == 1;
  Join(folder, kPathChars, {programFolder});
  if (identity->osVersion.dwMajorVersion >= 6 && !ProgramFolderWritable(programFolder)) {
    // With no application-data folder the program folder is kept: reads then
    // find nothing and writes fail silently, as with any unwritable folder.
    if (PerUserFolder(identity, folder, kPathChars)) useUserName = false;
  }
  DWORD userChars = kPathChars;
  const bool haveUser = useUserName && GetUserNameW(user, &userChars) && user[0];
  const bool formed = haveUser
      ? Join(path, kPathChars, {folder, identity->baseName, L"-", user, L".ini"})
      : Join(path, kPathChars, {folder, identity->baseName, L".ini"});
  if (!formed) return nullptr;
  identity->settingFilePath = ReplaceString(identity->settingFilePath, path);
  return identity->settingFilePath;
}

int LoadUpdaterSettings(ProgramIdentity* identity, UpdaterSettings* settings,
                        SettingsOptions& options, const FirstRunHooks& hooks) {
  if (!identity || !settings) return 1;
  const wchar_t* path = GetSettingFilePath(identity, 1);
  if (!path) return 1;

  const wchar_t* section = SectionName(identity);
  wchar_t text[kValueChars] = L"";
  GetPrivateProfileStringW(section, L"LastCheck", L"", text, kValueChars, path);
  if (!text[0]) {
    // A section without LastCheck is an older layout: every key comes from
    // the legacy section then.
    section = LegacySectionName(identity);
    GetPrivateProfileStringW(section, L"LastCheck", L"", text, kValueChars, path);
  }
  ParseLastCheck(text, &settings->lastCheck);

  options.proxyUserUse = ReadInt(section, L"ProxyUserUse", 0, path);
  GetPrivateProfileStringW(section, L"ProxyUsername", L"", text, kValueChars, path);
  if (text[0]) options.proxyUser = text;
  GetPrivateProfileStringW(section, L"ProxyUserPassword", L"", text, kValueChars, path);
  if (text[0]) {
    options.proxyPasswordScrambled = text;
    wchar_t plain[kValueChars] = L"";
    // A stored text that does not decode leaves no password rather than a wrong one.
    const bool decoded = UnscramblePassword(text, plain, kValueChars) == 1;
    options.proxyPassword = decoded ? plain : L"";
  }

  settings->confirmWindowX = ReadInt(section, L"ConfirmWindowX", 100, path);
  settings->confirmWindowY = ReadInt(section, L"ConfirmWindowY", 100, path);
  settings->confirmWindowWidth = ReadInt(section, L"ConfirmWindowWidth", 400, path);
  settings->confirmWindowHeight = ReadInt(section, L"ConfirmWindowHeight", 600, path);
  settings->confirmWindowX = ReadInt(section, L"WindowX", settings->confirmWindowX, path);
  settings->confirmWindowY = ReadInt(section, L"WindowY", settings->confirmWindowY, path);
  settings->confirmWindowWidth = ReadInt(section, L"WindowWidth", settings->confirmWindowWidth, path);
  settings->confirmWindowHeight = ReadInt(section, L"WindowHeight", settings->confirmWindowHeight, path);
  settings->downloadWindowX = ReadInt(section, L"DownloadWindowX", 100, path);
  settings->downloadWindowY = ReadInt(section, L"DownloadWindowY", 100, path);
  settings->downloadWindowWidth = ReadInt(section, L"DownloadWindowWidth", 400, path);
  settings->downloadWindowHeight = ReadInt(section, L"DownloadWindowHeight", 600, path);
  settings->autoUpdate = ReadInt(section, L"AutoUpdate", 0, path);
  options.information = ReadInt(section, L"Information", 1, path);

  if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return 1;
  AskFirstRunQuestions(identity, settings, options, hooks);
  SaveUpdaterSettings(identity, settings, options, 0);
  return 1;
}

int SaveUpdaterSettings(ProgramIdentity* identity, UpdaterSettings* settings,
                        const SettingsOptions& options, int stampLastCheck) {
  if (!identity || !settings) return 0;
  OwnedString buffer(AllocChars(kSectionBufferChars - 1));
  if (!buffer) return 0;
  const wchar_t* path = GetSettingFilePath(identity, 1);
  if (!path) return 0;
  if (stampLastCheck == 1) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    settings->lastCheck = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  }
  SettingsSectionValues values;
  values.versionText = GetVersionText(identity);
  values.proxyUserUse = options.proxyUserUse;
  values.proxyUser = options.proxyUser.c_str();
  values.proxyPasswordScrambled = options.proxyPasswordScrambled.c_str();
  values.information = options.information;
  values.settings = settings;
  if (FormatSettingsSection(values, buffer.get(), kSectionBufferChars) == 0) return 0;

  // The platform cannot rewrite a hidden file in place; it is hidden again below.
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES)
    CreateUnicodeFile(path);
  else if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
  WritePrivateProfileSectionW(SectionName(identity), buffer.get(), path);
  SetFileAttributesW(path, FILE_ATTRIBUTE_HIDDEN);
  return 1;
}

}  // namespace qxu
