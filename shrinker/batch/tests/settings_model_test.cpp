#include "settings_model.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace vantilo {
namespace {

using Store = std::map<std::pair<std::string, std::string>, std::string>;

SettingsLookup From(const Store& store) {
  return [&store](const std::string& section, const std::string& key) -> std::optional<std::string> {
    const auto it = store.find({section, key});
    if (it == store.end()) return std::nullopt;
    return it->second;
  };
}

TEST(SettingsModel, MissingFileGivesTheDefaults) {
  const Store empty;
  const ShrinkSettings s = ReadSettings(From(empty));
  EXPECT_EQ(s.sizeIndex, 0);
  EXPECT_EQ(s.customX, "150");
  EXPECT_EQ(s.customY, "150");
  EXPECT_TRUE(s.sharpen);
  EXPECT_EQ(s.sharpenStrength, 80);
  EXPECT_FALSE(s.saturation || s.gray || s.progressive || s.page);
  EXPECT_TRUE(s.qualityMode);
  EXPECT_EQ(s.quality, "92");
  EXPECT_EQ(s.targetSize, "50");
  EXPECT_TRUE(s.folderNaming);
  EXPECT_EQ(s.affixPosition, 0);
  EXPECT_EQ(s.affix, "s-");
  EXPECT_EQ(s.folder, "Resized");
  EXPECT_TRUE(s.rotate);
}

TEST(SettingsModel, RotateIsReadLikeTheOtherSwitches) {
  const std::pair<const char*, bool> cases[] = {{"0", false}, {"1", true}, {"2", true}, {"0x0", false},
                                                {"$0", false}, {"-1", true}, {"off", true}, {"", true}};
  for (const auto& [text, on] : cases) {
    const Store store = {{{"option", "rotate"}, text}};
    EXPECT_EQ(ReadSettings(From(store)).rotate, on) << '"' << text << '"';
  }
  // Written beside the other option keys, as a switch.
  ShrinkSettings s;
  s.rotate = false;
  bool found = false;
  for (const SettingsEntry& e : SettingsEntries(s)) {
    if (e.key != "rotate") continue;
    found = true;
    EXPECT_EQ(e.section, "option");
    EXPECT_EQ(e.value, "0");
  }
  EXPECT_TRUE(found);
}

TEST(SettingsModel, NonIntegersFallBackPerKeyAndTextsStayAsStored) {
  const Store store = {{{"pixel", "Index"}, "abc"},  {{"option", "lapnum"}, "0x20"},
                       {{"option", "lap"}, "no"},    {{"option", "chroma"}, "$2"},
                       {{"option", "mono"}, "-1"},   {{"option", "jpeg"}, "0"},
                       {{"option", "parcent"}, "abc"}, {{"changed", "AddName"}, ""},
                       {{"changed", "save"}, "0"},   {{"changed", "AfterBefore"}, "2"}};
  const ShrinkSettings s = ReadSettings(From(store));
  EXPECT_EQ(s.sizeIndex, 0);
  EXPECT_EQ(s.sharpenStrength, 32);
  EXPECT_TRUE(s.sharpen);     // "no" is no integer: default on
  EXPECT_TRUE(s.saturation);  // any value but 0 is on
  EXPECT_TRUE(s.gray);
  EXPECT_FALSE(s.qualityMode);
  EXPECT_FALSE(s.folderNaming);
  EXPECT_EQ(s.quality, "abc");  // the edit's handler corrects it
  EXPECT_EQ(s.affix, "");
  EXPECT_EQ(s.affixPosition, 2);
  EXPECT_EQ(AffixPositionFrom(s.affixPosition), -1);
}

TEST(SettingsModel, ControlLimits) {
  EXPECT_EQ(ClampSizeIndex(9), 7);
  EXPECT_EQ(ClampSizeIndex(-5), -1);
  EXPECT_EQ(ClampSizeIndex(3), 3);
  EXPECT_EQ(ClampSharpenStrength(500), 150);
  EXPECT_EQ(ClampSharpenStrength(-1), 0);
  EXPECT_EQ(AffixPositionFrom(1), 1);
  EXPECT_EQ(AffixPositionFrom(0), 0);
}

TEST(SettingsModel, WritesSeventeenKeysInThreeSectionsAndReadsThemBack) {
  ShrinkSettings s;
  s.sizeIndex = -1;
  s.customX = "-4";
  s.sharpen = false;
  s.sharpenStrength = 150;
  s.progressive = true;
  s.qualityMode = false;
  s.targetSize = "2097151";
  s.folderNaming = false;
  s.affixPosition = -1;
  s.affix = "_small";
  s.folder = "a\\b";
  const auto entries = SettingsEntries(s);
  ASSERT_EQ(entries.size(), 17u);
  std::set<std::string> sections;
  Store store;
  for (const auto& e : entries) {
    sections.insert(e.section);
    EXPECT_TRUE(store.insert({{e.section, e.key}, e.value}).second) << e.key;
  }
  EXPECT_EQ(sections, (std::set<std::string>{"pixel", "option", "changed"}));
  EXPECT_EQ(entries.front().key, "Index");
  EXPECT_EQ(entries.back().key, "folder");
  EXPECT_EQ(store.at({"option", "parcent"}), "92");
  const ShrinkSettings r = ReadSettings(From(store));
  EXPECT_EQ(SettingsEntries(r).size(), 17u);
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(SettingsEntries(r)[i].value, entries[i].value);
}

TEST(SettingsModel, BoxOfEachSizeChoice) {
  const std::int32_t sides[] = {1280, 1024, 800, 640, 400, 320, 160};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(BoxForChoice(i, "1", "1").width, sides[i]);
    EXPECT_EQ(BoxForChoice(i, "1", "1").height, sides[i]);
  }
  EXPECT_EQ(BoxForChoice(7, "300", "-2").width, 300);
  EXPECT_EQ(BoxForChoice(7, "300", "-2").height, -2);
  EXPECT_EQ(BoxForChoice(7, "x", "").width, 200);
  EXPECT_EQ(BoxForChoice(7, "x", "").height, 200);
  EXPECT_EQ(BoxForChoice(-1, "1", "1").width, 40000);
  EXPECT_EQ(BoxForChoice(8, "1", "1").height, 40000);
}

}  // namespace
}  // namespace vantilo
