#include "ui/runwindows/core/row_colours.h"

#include <gtest/gtest.h>

namespace qxu {
namespace {

void ExpectColours(const RowColours& c, Rgb background, Rgb text) {
  EXPECT_EQ(c.background, background);
  EXPECT_EQ(c.text, text);
}

constexpr RowState kEveryState[] = {RowState::None,     RowState::Checking,    RowState::Unknown,
                                    RowState::UpToDate, RowState::Newer,       RowState::Failed,
                                    RowState::Downloading, RowState::Downloaded, RowState::NotNeeded,
                                    RowState::Cancelled};

TEST(RowColours, SelectedRowIsYellowOnBlueWhateverStateOrMark) {
  for (RowState state : kEveryState)
    for (int mark : {0, 1, 2}) ExpectColours(ChooseRowColours(true, state, mark), {0, 0, 255}, {255, 255, 0});
}

TEST(RowColours, TransferStatesComeBeforeTheMark) {
  for (int mark : {0, 1, 2}) {
    ExpectColours(ChooseRowColours(false, RowState::Downloading, mark), {192, 255, 255}, {0, 0, 0});
    ExpectColours(ChooseRowColours(false, RowState::Downloaded, mark), {240, 255, 255}, {0, 0, 0});
  }
}

TEST(RowColours, TickedRowIsPinkForAnyOtherState) {
  for (RowState state : kEveryState) {
    if (state == RowState::Downloading || state == RowState::Downloaded) continue;
    ExpectColours(ChooseRowColours(false, state, 2), {255, 224, 255}, {0, 0, 0});
  }
}

TEST(RowColours, UntickedRowsByState) {
  ExpectColours(ChooseRowColours(false, RowState::Checking, 1), {255, 255, 224}, {0, 0, 0});
  ExpectColours(ChooseRowColours(false, RowState::Unknown, 1), {224, 224, 224}, {128, 128, 128});
  // Every other state, a failed check included, is drawn white.
  for (RowState state : {RowState::None, RowState::UpToDate, RowState::Newer, RowState::Failed,
                         RowState::NotNeeded, RowState::Cancelled})
    ExpectColours(ChooseRowColours(false, state, 1), {255, 255, 255}, {0, 0, 0});
}

TEST(RowColours, StateImageOutsideTheMarksIsDrawnWhite) {
  ExpectColours(ChooseRowColours(false, RowState::Unknown, 0), {255, 255, 255}, {0, 0, 0});
  ExpectColours(ChooseRowColours(false, RowState::Checking, 3), {255, 255, 255}, {0, 0, 0});
}

TEST(RowMarks, IconAndSwitchBothWays) {
  EXPECT_EQ(CheckIconFor(2), 21);
  EXPECT_EQ(CheckIconFor(1), 20);
  EXPECT_EQ(CheckIconFor(0), 20);
  EXPECT_EQ(SwitchedMark(2), 1);
  EXPECT_EQ(SwitchedMark(1), 2);
  EXPECT_EQ(SwitchedMark(0), 2);
  EXPECT_EQ(SwitchedMark(SwitchedMark(1)), 1);
}

TEST(RowMarks, StateBitsRoundTrip) {
  EXPECT_EQ(StateBitsFor(1), 0x1000u);
  EXPECT_EQ(StateBitsFor(2), 0x2000u);
  EXPECT_EQ(StateImageOf(0x2003u), 2);  // selection and focus bits ignored
  EXPECT_EQ(StateImageOf(0x0003u), 0);
}

}  // namespace
}  // namespace qxu
