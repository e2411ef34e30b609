// The settings file beside the program, through the private-profile functions.
#pragma once
#include <string>

#include "settings_model.h"

namespace vantilo {

// The program path with ".ini" as its extension.
std::string SettingsPathFor(const std::string& programPath);

ShrinkSettings ReadSettingsFile(const std::string& iniPath);

// Writes all sixteen keys; a file that cannot be written loses them silently.
void WriteSettingsFile(const std::string& iniPath, const ShrinkSettings& settings);

}  // namespace vantilo
