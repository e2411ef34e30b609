#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/settings/core/updater_settings.h"

namespace qxu {
namespace {

UpdaterSettings ExampleSettings() {
  UpdaterSettings s;
  s.lastCheck = {2026, 12, 7, 14, 5, 9};
  s.confirmWindowX = s.confirmWindowY = 100;
  s.confirmWindowWidth = 400;
  s.confirmWindowHeight = 600;
  s.downloadWindowX = s.downloadWindowY = 100;
  s.downloadWindowWidth = 400;
  s.downloadWindowHeight = 600;
  return s;
}

// The formatted list as one string with "|" for each zero character.
std::wstring Format(const SettingsSectionValues& values, std::size_t size = kSectionBufferChars) {
  std::vector<wchar_t> buffer(size, L'#');
  const std::size_t used = FormatSettingsSection(values, buffer.data(), size);
  if (used == 0) return L"(none)";
  std::wstring text(buffer.data(), used);
  for (wchar_t& c : text)
    if (c == 0) c = L'|';
  return text;
}

TEST(SettingsSection, ExampleSectionByteForByte) {
  const UpdaterSettings s = ExampleSettings();
  SettingsSectionValues values;
  values.versionText = L"Version 1.10.01";
  values.proxyUserUse = 1;
  values.proxyUser = L"alice";
  values.proxyPasswordScrambled = L"4892JKiQ9771izhi";
  values.information = 1;
  values.settings = &s;
  EXPECT_EQ(Format(values),
            L"Version              = Version 1.10.01|"
            L"ProxyUserUse         = 1|"
            L"ProxyUserName        = alice|"
            L"ProxyUserPassword    = 4892JKiQ9771izhi|"
            L"LastCheck            = 2026/12/07 14:05:09|"
            L"ConfirmWindowX       = 100|"
            L"ConfirmWindowY       = 100|"
            L"ConfirmWindowWidth   = 400|"
            L"ConfirmWindowHeight  = 600|"
            L"DownloadWindowX      = 100|"
            L"DownloadWindowY      = 100|"
            L"DownloadWindowWidth  = 400|"
            L"DownloadWindowHeight = 600|"
            L"AutoUpdate           = 0|"
            L"Information          = 1||");
}

TEST(SettingsSection, ProxyLinesLeftOutAndNeverSetDateAndNegativeNumbers) {
  UpdaterSettings s;
  s.confirmWindowX = -1000;
  s.autoUpdate = 1;
  SettingsSectionValues values;
  values.versionText = L"Version 1.00";
  values.proxyUser = L"";
  values.information = 0;
  values.settings = &s;
  EXPECT_EQ(Format(values),
            L"Version              = Version 1.00|"
            L"ProxyUserUse         = 0|"
            L"LastCheck            = 0000/00/00 00:00:00|"
            L"ConfirmWindowX       = -1000|"
            L"ConfirmWindowY       = 0|"
            L"ConfirmWindowWidth   = 0|"
            L"ConfirmWindowHeight  = 0|"
            L"DownloadWindowX      = 0|"
            L"DownloadWindowY      = 0|"
            L"DownloadWindowWidth  = 0|"
            L"DownloadWindowHeight = 0|"
            L"AutoUpdate           = 1|"
            L"Information          = 0||");
}

TEST(SettingsSection, TooSmallBufferWritesNothingUsable) {
  const UpdaterSettings s = ExampleSettings();
  SettingsSectionValues values;
  values.versionText = L"Version 1.10.01";
  values.settings = &s;
  const std::wstring full = Format(values);
  EXPECT_EQ(Format(values, full.size()), full);
  EXPECT_EQ(Format(values, full.size() - 1), L"(none)");
  values.settings = nullptr;
  EXPECT_EQ(Format(values), L"(none)");
}

TEST(LastCheck, SixNumbersWithOrWithoutLeadingZeros) {
  LocalDateTime t;
  ASSERT_EQ(ParseLastCheck(L"2013/1/5 7:08:09", &t), 1);
  EXPECT_EQ(t.year, 2013);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 5);
  EXPECT_EQ(t.hour, 7);
  EXPECT_EQ(t.minute, 8);
  EXPECT_EQ(t.second, 9);
  ASSERT_EQ(ParseLastCheck(L"2026/12/07 14:05:09", &t), 1);
  EXPECT_EQ(t.day, 7);
  EXPECT_EQ(t.second, 9);
}

TEST(LastCheck, IncompleteTextLeavesTheValueAlone) {
  LocalDateTime t{2020, 2, 3, 4, 5, 6};
  EXPECT_EQ(ParseLastCheck(L"2013/01/05", &t), 0);
  EXPECT_EQ(ParseLastCheck(L"", &t), 0);
  EXPECT_EQ(ParseLastCheck(L"yesterday", &t), 0);
  EXPECT_EQ(ParseLastCheck(L"2013/01/05 07:08", &t), 0);
  EXPECT_EQ(ParseLastCheck(L"2013\x5E74" L"01/05 07:08:09", &t), 0);  // kanji in place of "/"
  EXPECT_EQ(ParseLastCheck(nullptr, &t), 0);
  EXPECT_EQ(t.year, 2020);
  EXPECT_EQ(t.second, 6);
}

TEST(DayNumber, YearQuartersMonthsAndDays) {
  EXPECT_EQ(DayNumber(2013, 1, 1), 735248 + 1);  // 2013 * 365.25 = 735248.25
  EXPECT_EQ(DayNumber(2013, 3, 1), 735248 + 31 + 28 + 1);
  EXPECT_EQ(DayNumber(2012, 3, 1), 734883 + 31 + 29 + 1);
  EXPECT_EQ(DayNumber(2026, 12, 7), 739996 + 334 + 7);
  EXPECT_EQ(DayNumber(0, 0, 0), 0);        // a never-set LastCheck
  EXPECT_EQ(DayNumber(2026, 13, 1), DayNumber(2026, 12, 1));  // month out of range stays bounded
}

TEST(DayNumber, WeeklySelfUpdateNeedsMoreThanSixDaysAndAutoUpdate) {
  const LocalDateTime last{2026, 12, 1, 23, 59, 59};
  EXPECT_EQ(SelfUpdateDue({2026, 12, 7, 0, 0, 0}, last, 1), 0);
  EXPECT_EQ(SelfUpdateDue({2026, 12, 8, 0, 0, 0}, last, 1), 1);
  EXPECT_EQ(SelfUpdateDue({2026, 12, 8, 0, 0, 0}, last, 0), 0);
  EXPECT_EQ(SelfUpdateDue({2027, 1, 1, 0, 0, 0}, {2026, 12, 31, 0, 0, 0}, 1), 0);
  EXPECT_EQ(SelfUpdateDue({2026, 12, 8, 0, 0, 0}, {2030, 1, 1, 0, 0, 0}, 1), 0);  // future
  EXPECT_EQ(SelfUpdateDue({2026, 12, 8, 0, 0, 0}, {}, 1), 1);  // never checked
}

}  // namespace
}  // namespace qxu
