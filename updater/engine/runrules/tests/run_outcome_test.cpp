#include <gtest/gtest.h>

#include "own_update_rule.h"
#include "run_outcome.h"
#include "update_status.h"

TEST(AccountOutcome, CountsDownloadsAndFailuresAndAbortsOn127) {
  RunState run;
  run.allSucceeded = 1;
  const std::uint8_t outcomes[] = {kStatusDone, kStatusNoDownload, kStatusNotAttempted, kStatusDone};
  for (std::uint8_t o : outcomes) EXPECT_FALSE(AccountOutcome(o, run));
  EXPECT_EQ(run.updatedCount, 2);
  EXPECT_EQ(run.allSucceeded, 1);
  EXPECT_FALSE(AccountOutcome(kStatusLocalFailure, run));
  EXPECT_EQ(run.allSucceeded, 0);
  run.allSucceeded = 1;
  EXPECT_FALSE(AccountOutcome(kStatusNewer, run));
  EXPECT_EQ(run.allSucceeded, 0);
  EXPECT_EQ(run.updatedCount, 2);
  EXPECT_TRUE(AccountOutcome(kStatusCheckFailed, run));
  EXPECT_EQ(run.updatedCount, -1);
  EXPECT_EQ(run.keepGoing, 0);
}

TEST(ResultMessage, TableOfOutcomes) {
  ResultMessage m = ResultMessageFor(3, 1, 1, 0);
  EXPECT_EQ(m.icon, MessageIcon::Information);
  EXPECT_EQ(m.text, L"3個のファイルをアップデートしました");

  m = ResultMessageFor(2, 0, 1, 1);
  EXPECT_EQ(m.icon, MessageIcon::Information);
  EXPECT_EQ(m.text, L"2個のファイルをアップデートしました\r\nアップデートに失敗したものがあるようです");

  EXPECT_EQ(ResultMessageFor(2, 1, 0, 0).icon, MessageIcon::None);

  m = ResultMessageFor(0, 1, 1, 0);
  EXPECT_EQ(m.icon, MessageIcon::Information);
  EXPECT_EQ(m.text, L"アップデートの必要はありません");
  EXPECT_EQ(ResultMessageFor(0, 1, 0, 0).icon, MessageIcon::None);
  EXPECT_EQ(ResultMessageFor(0, 1, 1, 1).icon, MessageIcon::None);

  // Failures without the confirm window are shown even when information is off.
  m = ResultMessageFor(0, 0, 0, 0);
  EXPECT_EQ(m.icon, MessageIcon::Warning);
  EXPECT_EQ(m.text, L"アップデートに失敗しました");
  EXPECT_EQ(ResultMessageFor(0, 0, 1, 1).icon, MessageIcon::None);

  EXPECT_EQ(ResultMessageFor(-1, 1, 1, 0).icon, MessageIcon::None);
  EXPECT_EQ(ResultMessageFor(-1, 0, 1, 0).icon, MessageIcon::None);
}

TEST(OwnUpdateRule, DayNumbersFollowTheCalendar) {
  EXPECT_EQ(DayNumber(2024, 3, 1) - DayNumber(2024, 2, 28), 2);  // leap year
  EXPECT_EQ(DayNumber(2023, 3, 1) - DayNumber(2023, 2, 28), 1);
  EXPECT_EQ(DayNumber(2026, 12, 1) - DayNumber(2026, 1, 1), 334);
  EXPECT_EQ(DayNumber(2024, 12, 1) - DayNumber(2024, 1, 1), 335);
}

TEST(OwnUpdateRule, WeeklyAndOnlyWithAutoUpdate) {
  EXPECT_TRUE(OwnUpdateDue(2026, 12, 8, 2026, 12, 1, 1));
  EXPECT_FALSE(OwnUpdateDue(2026, 12, 8, 2026, 12, 2, 1));
  EXPECT_TRUE(OwnUpdateDue(2027, 1, 3, 2026, 12, 27, 1));  // across the year end
  EXPECT_FALSE(OwnUpdateDue(2026, 12, 8, 2026, 12, 1, 0));
  EXPECT_FALSE(OwnUpdateDue(2026, 12, 8, 2027, 1, 1, 1));  // last check in the future
  EXPECT_TRUE(OwnUpdateDue(2026, 12, 8, 0, 0, 0, 1));       // never checked
}
