// The weekly rule for the updater's own update.
#pragma once

// Whole part of year * 365.25, plus the days of the months before, plus the day.
long DayNumber(int year, int month, int day);

// Due when today lies 7 or more days after the last check and auto update is on.
bool OwnUpdateDue(int year, int month, int day, int lastYear, int lastMonth, int lastDay, int autoUpdate);
