#include "ui/about/core/link_area.h"

#include <gtest/gtest.h>

namespace qxu {
namespace {

TEST(LinkArea, CoversTheTextNotTheWholeControl) {
  const LinkBounds control{100, 50, 400, 66};
  const int textWidth = 120;
  EXPECT_EQ(1, InsideLinkArea(control, textWidth, 100, 50));  // edges included
  EXPECT_EQ(1, InsideLinkArea(control, textWidth, 220, 66));
  EXPECT_EQ(0, InsideLinkArea(control, textWidth, 221, 58));  // right of the text
  EXPECT_EQ(0, InsideLinkArea(control, textWidth, 399, 58));
  EXPECT_EQ(0, InsideLinkArea(control, textWidth, 99, 58));
  EXPECT_EQ(0, InsideLinkArea(control, textWidth, 150, 49));
  EXPECT_EQ(0, InsideLinkArea(control, textWidth, 150, 67));
  // Before the first paint nothing is measured: only the left edge reacts.
  EXPECT_EQ(0, InsideLinkArea(control, 0, 101, 58));
}

}  // namespace
}  // namespace qxu
