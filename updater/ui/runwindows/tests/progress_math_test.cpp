#include "ui/runwindows/core/progress_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace qxu {
namespace {

TEST(BarPosition, RoundsPercentToTenthsOfAPercent) {
  EXPECT_EQ(BarPosition(37.46), 375);
  EXPECT_EQ(BarPosition(37.44), 374);
  EXPECT_EQ(BarPosition(0.05), 1);
  EXPECT_EQ(BarPosition(0.0), 0);
  EXPECT_EQ(BarPosition(99.96), 1000);
  EXPECT_EQ(BarPosition(100.0), 1000);
}

TEST(BarPosition, OutOfRangeValuesStayOnTheBar) {
  EXPECT_EQ(BarPosition(-1.0), 0);
  EXPECT_EQ(BarPosition(250.0), 1000);
  EXPECT_EQ(BarPosition(1e300), 1000);
  EXPECT_EQ(BarPosition(std::numeric_limits<double>::infinity()), 1000);
  EXPECT_EQ(BarPosition(std::nan("")), 0);
}

TEST(TrayFrames, CycleThroughFourIconsFromTwelve) {
  int frame = 0;
  std::string icons;
  for (int i = 0; i < 9; ++i) {
    frame = NextTrayFrame(frame);
    icons += std::to_string(TrayFrameIcon(frame)) + " ";
  }
  EXPECT_EQ(icons, "12 13 14 15 12 13 14 15 12 ");
}

TEST(TrayTip, JoinsProgramAndTextOnTwoLines) {
  wchar_t tip[kTrayTipChars];
  EXPECT_EQ(FormatTrayTip(L"QxUpdate", L"ダウンロード中", tip, kTrayTipChars), 17u);
  EXPECT_STREQ(tip, L"QxUpdate\r\nダウンロード中");
}

TEST(TrayTip, CutAtTheLimitOf127Characters) {
  std::wstring longText(300, L'x');
  wchar_t tip[kTrayTipChars + 4];
  for (auto& c : tip) c = L'#';
  EXPECT_EQ(FormatTrayTip(L"QxUpdate", longText.c_str(), tip, kTrayTipChars), 127u);
  EXPECT_EQ(tip[127], L'\0');
  EXPECT_EQ(tip[128], L'#');  // nothing written beyond the record's field
  EXPECT_EQ(std::wstring(tip).substr(0, 10), L"QxUpdate\r\n");
}

TEST(TrayTip, MissingTextsAndTinyBuffers) {
  wchar_t tip[4];
  EXPECT_EQ(FormatTrayTip(nullptr, nullptr, tip, 4), 2u);
  EXPECT_STREQ(tip, L"\r\n");
  EXPECT_EQ(FormatTrayTip(L"QxUpdate", L"x", tip, 1), 0u);
  EXPECT_STREQ(tip, L"");
  EXPECT_EQ(FormatTrayTip(L"QxUpdate", L"x", nullptr, 10), 0u);
}

}  // namespace
}  // namespace qxu
