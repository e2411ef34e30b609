#include <gtest/gtest.h>

#include <climits>

#include "ui/placement/core/placement_math.h"

namespace qxu {
namespace {

const ScreenBounds kWorkArea{0, 0, 1920, 1040};

TEST(NearPointer, CentredOnThePointerWhenItFits) {
  const ScreenPoint at = NearPointerPosition(301, 201, {960, 500}, kWorkArea, 5);
  EXPECT_EQ(at.x, 960 - 150);
  EXPECT_EQ(at.y, 500 - 100);
}

TEST(NearPointer, PointerAtTheCornersKeepsTheWindowMarginInside) {
  const ScreenBounds area{100, 50, 1920, 1040};
  ScreenPoint at = NearPointerPosition(300, 200, {100, 50}, area, 5);
  EXPECT_EQ(at.x, 105);
  EXPECT_EQ(at.y, 55);
  at = NearPointerPosition(300, 200, {1919, 1039}, area, 5);
  EXPECT_EQ(at.x + 300, 1920 - 5);
  EXPECT_EQ(at.y + 200, 1040 - 5);
  // Exactly touching an edge is allowed and left alone.
  at = NearPointerPosition(300, 200, {1920 - 150, 1040 - 100}, area, 5);
  EXPECT_EQ(at.x, 1620);
  EXPECT_EQ(at.y, 840);
}

TEST(Centre, ModesPickTheAxes) {
  const int W = 1920, H = 1040, left = 33, top = 44, w = 400, h = 300;
  auto at = [&](int mode) { return CentredPosition(mode, W, H, left, top, w, h); };
  EXPECT_EQ(at(0).x, 760);
  EXPECT_EQ(at(0).y, 370);
  EXPECT_EQ(at(1).x, 760);
  EXPECT_EQ(at(1).y, top);
  EXPECT_EQ(at(2).x, left);
  EXPECT_EQ(at(2).y, 370);
  EXPECT_EQ(at(3).x, 960 - 400);
  EXPECT_EQ(at(3).y, top);
  EXPECT_EQ(at(4).x, 960);
  EXPECT_EQ(at(0x101).y, top);  // only the low byte counts
  EXPECT_EQ(at(7).y, 370);
}

TEST(Centre, BoxRunsFromZeroToTheWorkAreaEdgeAndHalvesTruncate) {
  // A work area from x = 100 to 1920 still centres in 0..1920.
  EXPECT_EQ(CentredPosition(0, 1920, 1040, 0, 0, 400, 300).x, 760);
  EXPECT_EQ(CentredPosition(0, 1921, 1041, 0, 0, 400, 300).x, 760);
  EXPECT_EQ(CentredPosition(0, 300, 200, 0, 0, 401, 301).x, -50);  // -101/2 rounds toward zero
  EXPECT_EQ(CentredPosition(0, 300, 200, 0, 0, 401, 303).y, -51);
}

TEST(StoredRect, BroughtBackByWholeScreenWidths) {
  const ScreenBounds desktop{0, 0, 1920, 1080};
  EXPECT_EQ(OnScreenPosition({3000, 100, 400, 300}, desktop).x, 1080);
  EXPECT_EQ(OnScreenPosition({-1000, 100, 400, 300}, desktop).x, 920);
  EXPECT_EQ(OnScreenPosition({100, 2500, 400, 300}, desktop).y, 2500 - 2160);
  EXPECT_EQ(OnScreenPosition({100, -3000, 400, 300}, desktop).y, -3000 + 3 * 1080);
  const ScreenPoint kept = OnScreenPosition({1720, 930, 400, 300}, desktop);  // centre on the edge
  EXPECT_EQ(kept.x, 1720);
  EXPECT_EQ(kept.y, 930);
}

TEST(StoredRect, WildValuesNeitherLoopNorOverflow) {
  const ScreenBounds desktop{0, 0, 1920, 1080};
  const ScreenPoint far = OnScreenPosition({INT_MAX, INT_MIN, INT_MAX, INT_MAX}, desktop);
  EXPECT_LE(far.x + 0LL + INT_MAX / 2, 1920);
  EXPECT_GE(far.x + 0LL + INT_MAX / 2, 0);
  EXPECT_LE(far.y + 0LL + INT_MAX / 2, 1080);
  EXPECT_GE(far.y + 0LL + INT_MAX / 2, 0);
  const ScreenPoint flat = OnScreenPosition({5000, -7000, 400, 300}, {0, 0, 0, -5});
  EXPECT_EQ(flat.x, 5000);
  EXPECT_EQ(flat.y, -7000);
}

}  // namespace
}  // namespace qxu
