#include "settings_file.h"

#include <windows.h>
#include <shlobj.h>

#include "ansi_path.h"

namespace vantilo {

namespace {
bool AnsiLead(unsigned char b) { return IsDBCSLeadByte(b) != FALSE; }
}  // namespace

std::string SettingsPathFor(const std::string& programPath) { return ReplaceExtension(programPath, ".ini", AnsiLead); }

ShrinkSettings ReadSettingsFile(const std::string& iniPath) {
  // A value can never hold a line end, so this marks a missing key.
  static const char kMissing[] = "\n";
  return ReadSettings([&](const std::string& section, const std::string& key) -> std::optional<std::string> {
    char value[2048];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, value, sizeof value, iniPath.c_str());
    if (std::string(value) == kMissing) return std::nullopt;
    return std::string(value);
  });
}

bool WriteSettingsFile(const std::string& iniPath, const ShrinkSettings& settings) {
  for (const SettingsEntry& e : SettingsEntries(settings))
    if (!WritePrivateProfileStringA(e.section.c_str(), e.key.c_str(), e.value.c_str(), iniPath.c_str())) return false;
  return true;
}

std::string PerUserSettingsPathFor(const std::string& programPath) {
  char folder[MAX_PATH];
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
  return std::string(folder) + "\\Vantilo\\" + NamePart(SettingsPathFor(programPath), AnsiLead);
}

namespace {
bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
}  // namespace

ShrinkSettings LoadSettings(const SettingsFiles& files) {
  if (!files.perUser.empty() && FileExists(files.perUser)) return ReadSettingsFile(files.perUser);
  return ReadSettingsFile(files.beside);
}

void SaveSettings(const SettingsFiles& files, const ShrinkSettings& settings) {
  if (WriteSettingsFile(files.beside, settings)) {
    if (!files.perUser.empty()) DeleteFileA(files.perUser.c_str());
    return;
  }
  if (files.perUser.empty()) return;  // lost, as before there was a fallback
  CreateDirectoryA(FolderPart(files.perUser, AnsiLead).c_str(), nullptr);
  WriteSettingsFile(files.perUser, settings);
}

}  // namespace vantilo
