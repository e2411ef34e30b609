#include "engine/runrules/core/row_state.h"

namespace qxu {

std::wstring RowStateText(RowState state, std::uint64_t size) {
  const std::wstring shown = std::to_wstring(static_cast<std::int32_t>(static_cast<std::uint32_t>(size)));
  switch (state) {
    case RowState::None: return L"";
    case RowState::Checking: return L"チェック中...";
    case RowState::Unknown: return L"不明";
    case RowState::UpToDate: return L"アップデート不要(" + shown + L"byte)";
    case RowState::Newer: return L"アップデート可能(" + shown + L"byte)";
    case RowState::Failed: return L"エラー";
    case RowState::Downloading: return L"ダウンロード中...";
    case RowState::Downloaded: return L"ダウンロード完了";
    case RowState::NotNeeded: return L"ダウンロード不要";
    case RowState::Cancelled: return L"キャンセル";
  }
  return L"";
}

}  // namespace qxu
