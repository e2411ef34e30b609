#include <gtest/gtest.h>

#include "engine/runrules/core/run_outcome.h"
#include "engine/runrules/core/update_status.h"

using namespace qxu;

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

// The window cancels while the worker finishes its file: the cancelled run
// must not turn into one that found nothing to update.
TEST(AccountOutcome, AFileFinishedAfterTheCancelLeavesTheRunCancelled) {
  RunState run;
  run.allSucceeded = 1;
  EXPECT_FALSE(AccountOutcome(kStatusDone, run));
  run.updatedCount = -1;  // the cancel
  run.keepGoing = 0;
  EXPECT_FALSE(AccountOutcome(kStatusDone, run));
  EXPECT_EQ(run.updatedCount, -1);
  EXPECT_FALSE(CountUpdatedFile(run));
  EXPECT_EQ(run.updatedCount, -1);
  run.updatedCount = 4;
  EXPECT_TRUE(CountUpdatedFile(run));
  EXPECT_EQ(run.updatedCount, 5);
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

