#pragma once
// The values that live only in the setting file, and its text layout.
#include <cstddef>
#include <cstdint>
#include <string>

namespace qxu {

struct LocalDateTime {
  std::uint16_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct UpdaterSettings {
  LocalDateTime lastCheck;  // last successful self-update check
  std::int32_t confirmWindowX = 0, confirmWindowY = 0;
  std::int32_t confirmWindowWidth = 0, confirmWindowHeight = 0;
  std::int32_t downloadWindowX = 0, downloadWindowY = 0;
  std::int32_t downloadWindowWidth = 0, downloadWindowHeight = 0;
  std::int32_t autoUpdate = 0;  // 1: check for a newer QxUpdate once a week
};

// The options that the file also carries. The two numbers stay numbers:
// the file may hold any value, and it is written back as read.
struct SettingsOptions {
  int information = 1;
  int proxyUserUse = 0;
  std::wstring proxyUser;               // empty: none
  std::wstring proxyPassword;           // plain form, never written
  std::wstring proxyPasswordScrambled;  // empty: none
};

// What SaveUpdaterSettings writes besides UpdaterSettings.
struct SettingsSectionValues {
  const wchar_t* versionText = nullptr;
  long proxyUserUse = 0;
  const wchar_t* proxyUser = nullptr;               // line left out when none or empty
  const wchar_t* proxyPasswordScrambled = nullptr;  // likewise
  long information = 1;
  const UpdaterSettings* settings = nullptr;
};

// Characters of the section text buffer (the platform's section-list form).
inline constexpr std::size_t kSectionBufferChars = 65537;

// Puts the section lines, each ended by a zero and the list by a second zero,
// into buffer. Returns the characters used, or 0 when they do not fit.
std::size_t FormatSettingsSection(const SettingsSectionValues& values, wchar_t* buffer,
                                  std::size_t bufferChars);

// Reads "%04d/%02d/%02d %02d:%02d:%02d"; 1 and *out set (each number cut to
// 16 bits) only when all six numbers are read.
int ParseLastCheck(const wchar_t* text, LocalDateTime* out);

// Whole part of year * 365.25 + days of the months before month + day.
long DayNumber(int year, int month, int day);

// 1 when autoUpdate is 1 and today lies more than 6 days after lastCheck.
int SelfUpdateDue(const LocalDateTime& today, const LocalDateTime& lastCheck, int autoUpdate);

}  // namespace qxu
