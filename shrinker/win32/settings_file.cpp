#include "settings_file.h"

#include <windows.h>

#include "ansi_path.h"

namespace vantilo {

std::string SettingsPathFor(const std::string& programPath) {
  return ReplaceExtension(programPath, ".ini", [](unsigned char b) { return IsDBCSLeadByte(b) != FALSE; });
}

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

void WriteSettingsFile(const std::string& iniPath, const ShrinkSettings& settings) {
  for (const SettingsEntry& e : SettingsEntries(settings))
    WritePrivateProfileStringA(e.section.c_str(), e.key.c_str(), e.value.c_str(), iniPath.c_str());
}

}  // namespace vantilo
