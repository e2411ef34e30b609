// The settings file beside the program, through the private-profile functions.
#pragma once
#include <string>

#include "settings_model.h"

namespace vantilo {

// The program path with ".ini" as its extension.
std::string SettingsPathFor(const std::string& programPath);

// The same file name in the user's application-data folder ("Vantilo"
// below it); empty when the platform names no such folder.
std::string PerUserSettingsPathFor(const std::string& programPath);

ShrinkSettings ReadSettingsFile(const std::string& iniPath);

// Writes all keys; false when one of them could not be written.
bool WriteSettingsFile(const std::string& iniPath, const ShrinkSettings& settings);

// Beside the program while its folder can be written (a normal install
// under the program files folder cannot), else per user.
struct SettingsFiles {
  std::string beside;
  std::string perUser;
};

// The per-user file when there is one (it only exists while the program's
// folder could not be written), else the one beside the program.
ShrinkSettings LoadSettings(const SettingsFiles& files);

// Beside the program, dropping a per-user copy that would now be stale; per
// user when that fails.
void SaveSettings(const SettingsFiles& files, const ShrinkSettings& settings);

}  // namespace vantilo
