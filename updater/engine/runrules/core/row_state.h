// What a row of the confirm window says about its file. The status text and
// the row's colours both come from it.
#pragma once
#include <cstdint>
#include <string>

namespace qxu {

enum class RowState : std::uint8_t {
  None,         // not looked at yet: no text
  Checking,     // "チェック中..."
  Unknown,      // "不明": not checked (window closed, password dialog cancelled)
  UpToDate,     // "アップデート不要(<size>byte)"
  Newer,        // "アップデート可能(<size>byte)"
  Failed,       // "エラー"
  Downloading,  // "ダウンロード中..."
  Downloaded,   // "ダウンロード完了"
  NotNeeded,    // "ダウンロード不要"
  Cancelled     // "キャンセル"
};

// The status column's text; size is shown (as a signed 32-bit number, as the
// list always showed it) only by UpToDate and Newer.
std::wstring RowStateText(RowState state, std::uint64_t size);

}  // namespace qxu
