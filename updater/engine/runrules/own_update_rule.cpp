#include "own_update_rule.h"

long DayNumber(int year, int month, int day) {
  static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 0) year = 0;  // an unreadable last-check date counts as long ago
  long n = static_cast<long>(year) * 365 + year / 4;  // whole part of year * 365.25
  for (int m = 1; m < month && m <= 12; ++m) n += (m == 2 && year % 4 == 0) ? 29 : kMonthDays[m - 1];
  return n + day;
}

bool OwnUpdateDue(int year, int month, int day, int lastYear, int lastMonth, int lastDay, int autoUpdate) {
  if (autoUpdate != 1) return false;
  return DayNumber(year, month, day) - DayNumber(lastYear, lastMonth, lastDay) >= 7;
}
