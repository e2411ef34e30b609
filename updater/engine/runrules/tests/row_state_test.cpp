#include "engine/runrules/core/row_state.h"

#include <gtest/gtest.h>

namespace qxu {
namespace {

TEST(RowStateText, EveryStatesText) {
  EXPECT_EQ(RowStateText(RowState::None, 4321), L"");
  EXPECT_EQ(RowStateText(RowState::Checking, 4321), L"チェック中...");
  EXPECT_EQ(RowStateText(RowState::Unknown, 4321), L"不明");
  EXPECT_EQ(RowStateText(RowState::UpToDate, 4321), L"アップデート不要(4321byte)");
  EXPECT_EQ(RowStateText(RowState::Newer, 1234), L"アップデート可能(1234byte)");
  EXPECT_EQ(RowStateText(RowState::Failed, 4321), L"エラー");
  EXPECT_EQ(RowStateText(RowState::Downloading, 4321), L"ダウンロード中...");
  EXPECT_EQ(RowStateText(RowState::Downloaded, 4321), L"ダウンロード完了");
  EXPECT_EQ(RowStateText(RowState::NotNeeded, 4321), L"ダウンロード不要");
  EXPECT_EQ(RowStateText(RowState::Cancelled, 4321), L"キャンセル");
}

TEST(RowStateText, SizeShownAsASigned32BitNumber) {
  EXPECT_EQ(RowStateText(RowState::UpToDate, 0), L"アップデート不要(0byte)");
  EXPECT_EQ(RowStateText(RowState::Newer, 0x80000000u), L"アップデート可能(-2147483648byte)");
  EXPECT_EQ(RowStateText(RowState::Newer, 0x100000005ull), L"アップデート可能(5byte)");
}

}  // namespace
}  // namespace qxu
