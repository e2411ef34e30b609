#include "ui/runwindows/core/row_colours.h"

#include <gtest/gtest.h>

namespace qxu {
namespace {

void ExpectColours(const RowColours& c, Rgb background, Rgb text) {
  EXPECT_EQ(c.background, background);
  EXPECT_EQ(c.text, text);
}

TEST(RowColours, SelectedRowIsYellowOnBlueWhateverStatusOrMark) {
  for (const wchar_t* status : {L"ダウンロード中...", L"不明", L"", L"エラー"})
    for (int mark : {0, 1, 2}) ExpectColours(ChooseRowColours(true, status, mark), {0, 0, 255}, {255, 255, 0});
}

TEST(RowColours, TransferStatusesComeBeforeTheMark) {
  ExpectColours(ChooseRowColours(false, L"ダウンロード中...", 2), {192, 255, 255}, {0, 0, 0});
  ExpectColours(ChooseRowColours(false, L"ダウンロード中...", 1), {192, 255, 255}, {0, 0, 0});
  ExpectColours(ChooseRowColours(false, L"ダウンロード完了", 2), {240, 255, 255}, {0, 0, 0});
}

TEST(RowColours, TickedRowIsPinkForAnyOtherStatus) {
  ExpectColours(ChooseRowColours(false, L"アップデート可能(1234byte)", 2), {255, 224, 255}, {0, 0, 0});
  ExpectColours(ChooseRowColours(false, L"不明", 2), {255, 224, 255}, {0, 0, 0});
  ExpectColours(ChooseRowColours(false, L"チェック中...", 2), {255, 224, 255}, {0, 0, 0});
}

TEST(RowColours, UntickedRowsByWholeStatusText) {
  ExpectColours(ChooseRowColours(false, L"チェック中...", 1), {255, 255, 224}, {0, 0, 0});
  ExpectColours(ChooseRowColours(false, L"不明", 1), {224, 224, 224}, {128, 128, 128});
  // Compared whole: a longer text is "any other".
  ExpectColours(ChooseRowColours(false, L"不明です", 1), {255, 255, 255}, {0, 0, 0});
  ExpectColours(ChooseRowColours(false, L"アップデート不要(1234byte)", 1), {255, 255, 255}, {0, 0, 0});
  ExpectColours(ChooseRowColours(false, nullptr, 1), {255, 255, 255}, {0, 0, 0});
}

TEST(RowColours, StateImageOutsideTheMarksIsDrawnWhite) {
  ExpectColours(ChooseRowColours(false, L"不明", 0), {255, 255, 255}, {0, 0, 0});
  ExpectColours(ChooseRowColours(false, L"チェック中...", 3), {255, 255, 255}, {0, 0, 0});
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
