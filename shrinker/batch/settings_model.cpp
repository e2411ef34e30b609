#include "settings_model.h"

#include "int_text.h"

namespace vantilo {

namespace {

struct Reader {
  const SettingsLookup& lookup;

  std::string Text(const char* section, const char* key, const std::string& def) const {
    return lookup(section, key).value_or(def);
  }
  std::int32_t Int(const char* section, const char* key, std::int32_t def) const {
    const auto raw = lookup(section, key);
    if (!raw) return def;
    return ParseInt32(*raw, IntSyntax::DecimalOrHex).value_or(def);
  }
  bool Bool(const char* section, const char* key, bool def) const {
    return Int(section, key, def ? 1 : 0) != 0;
  }
};

std::string BoolText(bool v) { return v ? "1" : "0"; }

}  // namespace

ShrinkSettings ReadSettings(const SettingsLookup& lookup) {
  const Reader r{lookup};
  const ShrinkSettings d;
  ShrinkSettings s;
  s.sizeIndex = r.Int("pixel", "Index", d.sizeIndex);
  s.customX = r.Text("pixel", "x", d.customX);
  s.customY = r.Text("pixel", "y", d.customY);
  s.sharpen = r.Bool("option", "lap", d.sharpen);
  s.sharpenStrength = r.Int("option", "lapnum", d.sharpenStrength);
  s.saturation = r.Bool("option", "chroma", d.saturation);
  s.gray = r.Bool("option", "mono", d.gray);
  s.progressive = r.Bool("option", "progressive", d.progressive);
  s.page = r.Bool("option", "html", d.page);
  s.qualityMode = r.Bool("option", "jpeg", d.qualityMode);
  s.quality = r.Text("option", "parcent", d.quality);
  s.targetSize = r.Text("option", "FileSize", d.targetSize);
  s.rotate = r.Bool("option", "rotate", d.rotate);
  s.folderNaming = r.Bool("changed", "save", d.folderNaming);
  s.affixPosition = r.Int("changed", "AfterBefore", d.affixPosition);
  s.affix = r.Text("changed", "AddName", d.affix);
  s.folder = r.Text("changed", "folder", d.folder);
  return s;
}

std::vector<SettingsEntry> SettingsEntries(const ShrinkSettings& s) {
  return {
      {"pixel", "Index", std::to_string(s.sizeIndex)},
      {"pixel", "x", s.customX},
      {"pixel", "y", s.customY},
      {"option", "lap", BoolText(s.sharpen)},
      {"option", "lapnum", std::to_string(s.sharpenStrength)},
      {"option", "chroma", BoolText(s.saturation)},
      {"option", "mono", BoolText(s.gray)},
      {"option", "progressive", BoolText(s.progressive)},
      {"option", "html", BoolText(s.page)},
      {"option", "jpeg", BoolText(s.qualityMode)},
      {"option", "parcent", s.quality},
      {"option", "FileSize", s.targetSize},
      {"option", "rotate", BoolText(s.rotate)},
      {"changed", "save", BoolText(s.folderNaming)},
      {"changed", "AfterBefore", std::to_string(s.affixPosition)},
      {"changed", "AddName", s.affix},
      {"changed", "folder", s.folder},
  };
}

std::int32_t ClampSizeIndex(std::int32_t v) { return v < -1 ? -1 : (v > 7 ? 7 : v); }

std::int32_t ClampSharpenStrength(std::int32_t v) { return v < 0 ? 0 : (v > 150 ? 150 : v); }

std::int32_t AffixPositionFrom(std::int32_t v) { return v == 0 || v == 1 ? v : -1; }

Box BoxForChoice(std::int32_t sizeIndex, const std::string& customX, const std::string& customY) {
  static const std::int32_t kSquare[] = {1280, 1024, 800, 640, 400, 320, 160};
  if (sizeIndex >= 0 && sizeIndex <= 6) return {kSquare[sizeIndex], kSquare[sizeIndex]};
  if (sizeIndex == 7)
    return {ParseInt32(customX, IntSyntax::Decimal).value_or(200),
            ParseInt32(customY, IntSyntax::Decimal).value_or(200)};
  return {40000, 40000};
}

}  // namespace vantilo
