#include "ui/runwindows/core/run_layout.h"

#include <gtest/gtest.h>

namespace qxu {
namespace {

TEST(ConfirmLayout, ButtonsBottomRightBarAndListFillTheRest) {
  ConfirmLayout l = LayOutConfirm(384, 562, 75, 23);
  EXPECT_EQ(l.closeButton.x, 304);
  EXPECT_EQ(l.closeButton.y, 534);
  EXPECT_EQ(l.actionButton.x, 229);
  EXPECT_EQ(l.actionButton.y, 534);
  EXPECT_EQ(l.actionButton.width, 75);
  EXPECT_EQ(l.downloadBar.x, 5);
  EXPECT_EQ(l.downloadBar.width, 224);
  EXPECT_EQ(l.downloadBar.height, 23);
  EXPECT_EQ(l.list.x, 5);
  EXPECT_EQ(l.list.y, 5);
  EXPECT_EQ(l.list.width, 374);
  EXPECT_EQ(l.list.height, 524);
  // The list ends 5 pixels above the buttons.
  EXPECT_EQ(l.downloadBar.x + l.downloadBar.width, l.actionButton.x);  // the bar reaches the action button
  EXPECT_EQ(l.list.y + l.list.height + 5, l.closeButton.y);
}

TEST(ConfirmLayout, TinyClientGivesNegativeSizesWithoutGuard) {
  ConfirmLayout l = LayOutConfirm(20, 10, 75, 23);
  EXPECT_LT(l.list.height, 0);
  EXPECT_LT(l.downloadBar.width, 0);
}

TEST(ListColumns, FiveEighthsAndThreeEighthsTruncated) {
  ListColumns c = SplitColumns(374, 17);  // 357 left
  EXPECT_EQ(c.first, 223);
  EXPECT_EQ(c.second, 133);
  ListColumns n = SplitColumns(10, 17);  // -7: truncated toward zero
  EXPECT_EQ(n.first, -4);
  EXPECT_EQ(n.second, -2);
}

TEST(ProgressLayout, LinesStretchButtonCentred) {
  ProgressLayout l = LayOutProgress(301, 120, 75, 23);
  EXPECT_EQ(l.lineX, 4);
  EXPECT_EQ(l.lineWidth, 293);
  EXPECT_EQ(l.buttonX, 150 - 37);
  EXPECT_EQ(l.buttonY, 93);
}

TEST(OpeningGeometry, ConfirmResetsSmallSizesOnly) {
  StoredRect r = ConfirmOpeningRect({100, 100, 0, 0});
  EXPECT_EQ(r.x, 100);
  EXPECT_EQ(r.y, 100);
  EXPECT_EQ(r.width, 400);
  EXPECT_EQ(r.height, 600);
  r = ConfirmOpeningRect({1, 2, 300, 4});
  EXPECT_EQ(r.width, 400);
  EXPECT_EQ(r.height, 600);
  r = ConfirmOpeningRect({1, 2, 5, 5});
  EXPECT_EQ(r.width, 5);
  EXPECT_EQ(r.height, 5);
}

TEST(OpeningGeometry, ProgressTakesStoredOnlyWhenBothSizesReachFive) {
  EXPECT_TRUE(ProgressTakesStoredRect({0, 0, 5, 5}));
  EXPECT_FALSE(ProgressTakesStoredRect({0, 0, 4, 500}));
  EXPECT_FALSE(ProgressTakesStoredRect({0, 0, 500, -3}));
}

}  // namespace
}  // namespace qxu
