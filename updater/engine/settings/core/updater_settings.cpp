#include "engine/settings/core/updater_settings.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace qxu {
namespace {

constexpr int kKeyColumns = 20;

// Appends zero-terminated lines to the section buffer; stops at the first
// line that does not fit.
class SectionWriter {
 public:
  SectionWriter(wchar_t* buffer, std::size_t size) : buffer_(buffer), size_(size) {}

  void Line(const char* key, const wchar_t* value) {
    std::size_t start = used_;
    const std::size_t keyLength = std::strlen(key);
    PutAscii(key);
    for (std::size_t i = keyLength; i < kKeyColumns; ++i) Put(L' ');
    PutAscii(" = ");
    for (const wchar_t* p = value; p && *p; ++p) Put(*p);
    Put(0);
    if (failed_) used_ = start;
  }

  void Line(const char* key, long value) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%ld", value);
    wchar_t wide[32];
    std::size_t i = 0;
    for (; digits[i]; ++i) wide[i] = static_cast<unsigned char>(digits[i]);
    wide[i] = 0;
    Line(key, wide);
  }

  // The closing zero of the list; 0 when anything failed to fit.
  std::size_t Finish() {
    Put(0);
    return failed_ ? 0 : used_;
  }

 private:
  void PutAscii(const char* text) {
    for (; *text; ++text) Put(static_cast<unsigned char>(*text));
  }
  void Put(wchar_t c) {
    if (failed_ || used_ >= size_) {
      failed_ = true;
      return;
    }
    buffer_[used_++] = c;
  }

  wchar_t* buffer_;
  std::size_t size_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace

std::size_t FormatSettingsSection(const SettingsSectionValues& values, wchar_t* buffer,
                                  std::size_t bufferChars) {
  if (!buffer || !values.settings) return 0;
  const UpdaterSettings& s = *values.settings;
  SectionWriter out(buffer, bufferChars);
  out.Line("Version", values.versionText);
  out.Line("ProxyUserUse", values.proxyUserUse);
  if (values.proxyUser && *values.proxyUser) out.Line("ProxyUserName", values.proxyUser);
  if (values.proxyPasswordScrambled && *values.proxyPasswordScrambled)
    out.Line("ProxyUserPassword", values.proxyPasswordScrambled);
  char date[64];
  std::snprintf(date, sizeof date, "%04d/%02d/%02d %02d:%02d:%02d", s.lastCheck.year,
                s.lastCheck.month, s.lastCheck.day, s.lastCheck.hour, s.lastCheck.minute,
                s.lastCheck.second);
  wchar_t wideDate[64];
  for (std::size_t i = 0; i < sizeof date; ++i) {
    wideDate[i] = static_cast<unsigned char>(date[i]);
    if (!date[i]) break;
  }
  out.Line("LastCheck", wideDate);
  out.Line("ConfirmWindowX", static_cast<long>(s.confirmWindowX));
  out.Line("ConfirmWindowY", static_cast<long>(s.confirmWindowY));
  out.Line("ConfirmWindowWidth", static_cast<long>(s.confirmWindowWidth));
  out.Line("ConfirmWindowHeight", static_cast<long>(s.confirmWindowHeight));
  out.Line("DownloadWindowX", static_cast<long>(s.downloadWindowX));
  out.Line("DownloadWindowY", static_cast<long>(s.downloadWindowY));
  out.Line("DownloadWindowWidth", static_cast<long>(s.downloadWindowWidth));
  out.Line("DownloadWindowHeight", static_cast<long>(s.downloadWindowHeight));
  out.Line("AutoUpdate", static_cast<long>(s.autoUpdate));
  out.Line("Information", values.information);
  return out.Finish();
}

int ParseLastCheck(const wchar_t* text, LocalDateTime* out) {
  if (!text || !out) return 0;
  // Only ASCII can take part in the numbers; anything else stops the scan.
  char narrow[1024];
  std::size_t i = 0;
  for (; text[i] && i + 1 < sizeof narrow; ++i)
    narrow[i] = text[i] > 0 && text[i] < 128 ? static_cast<char>(text[i]) : '?';
  narrow[i] = 0;
  int year, month, day, hour, minute, second;
  if (std::sscanf(narrow, "%04d/%02d/%02d %02d:%02d:%02d", &year, &month, &day, &hour, &minute,
                  &second) != 6)
    return 0;
  out->year = static_cast<std::uint16_t>(year);
  out->month = static_cast<std::uint16_t>(month);
  out->day = static_cast<std::uint16_t>(day);
  out->hour = static_cast<std::uint16_t>(hour);
  out->minute = static_cast<std::uint16_t>(minute);
  out->second = static_cast<std::uint16_t>(second);
  return 1;
}

long DayNumber(int year, int month, int day) {
  static const int kMonthDays[11] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30};
  long number = static_cast<long>(year * 365.25);
  // Months outside 1..12 (a never-set date has month 0) count no more than a year.
  for (int m = 1; m < month && m <= 11; ++m)
    number += (m == 2 && year % 4 == 0) ? 29 : kMonthDays[m - 1];
  return number + day;
}

int SelfUpdateDue(const LocalDateTime& today, const LocalDateTime& lastCheck, int autoUpdate) {
  return autoUpdate == 1 && DayNumber(today.year, today.month, today.day) -
                                    DayNumber(lastCheck.year, lastCheck.month, lastCheck.day) >
                                6;
}

}  // namespace qxu
