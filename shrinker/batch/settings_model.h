// The option set as the settings file stores it: keys, defaults, and the
// limits the window's controls put on loaded values.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantilo {

struct ShrinkSettings {
  std::int32_t sizeIndex = 0;       // RadioGroup1, -1..7
  std::string customX = "150";      // EditPxX
  std::string customY = "150";      // EditPxY
  bool sharpen = true;              // CheckBox1
  std::int32_t sharpenStrength = 80;  // TrackBar1, 0..150
  bool saturation = false;          // CheckBox2
  bool gray = false;                // CheckBox3
  bool progressive = false;         // CheckBox4
  bool page = false;                // CheckHtml
  bool qualityMode = true;          // RadioButton1 (else RadioButton2)
  std::string quality = "92";       // Edit2
  std::string targetSize = "50";    // Edit3
  bool rotate = true;               // no control: upright by the EXIF orientation
  bool folderNaming = true;         // RadioButton4 (else RadioButton3)
  std::int32_t affixPosition = 0;   // ComboBox1, -1 none, 0 before, 1 after
  std::string affix = "s-";         // Edit4
  std::string folder = "Resized";   // Edit5
};

struct SettingsEntry {
  std::string section, key, value;
};

// Reads every key in file order; a missing key or a value that is no
// integer (for integer and boolean keys) gives the default. Values are as
// stored: the controls' limits are applied by the Clamp functions below.
using SettingsLookup =
    std::function<std::optional<std::string>(const std::string& section, const std::string& key)>;
ShrinkSettings ReadSettings(const SettingsLookup& lookup);

// All seventeen keys in file order, with their texts as written.
std::vector<SettingsEntry> SettingsEntries(const ShrinkSettings& s);

std::int32_t ClampSizeIndex(std::int32_t v);       // -1..7
std::int32_t ClampSharpenStrength(std::int32_t v); // 0..150
std::int32_t AffixPositionFrom(std::int32_t v);    // 0, 1, else -1

// Box of a size choice; custom sides come from the custom edits.
struct Box {
  std::int32_t width, height;
};
Box BoxForChoice(std::int32_t sizeIndex, const std::string& customX, const std::string& customY);

}  // namespace vantilo
