#include "ui/options/win32/option_tooltips.h"

#include "ui/lang/resource_ids.h"
#include "ui/placement/win32/tooltip.h"

namespace qxu {
namespace {

struct TooltipText {
  int control;
  const wchar_t* text;
};

constexpr TooltipText kTooltips[kOptionTooltipSlots] = {
    {QXU_OPTIONS_SELF_UPDATE, L"QxUpdate自身のバージョンアップを確認してアップデートを行います"},
    {QXU_OPTIONS_PROXY,
     L"企業内ネットワーク等で，ユーザ＆パスワードが必要なプロキシサーバを利用する際の設定を行います"},
    {QXU_OPTIONS_ASSOCIATE,
     L"アップデート設定ファイル(*.quf, *.qul)をQxUpdateに関連付けします．\r\n"
     L"アップデートの操作が簡単にできるようになるでの，ぜひ設定してください"},
    {QXU_OPTIONS_INFORMATION, L"アップデート後に，アップデート結果のメッセージを表示します"},
    {QXU_OPTIONS_AUTO_UPDATE, L"QxUpdate自身のアップデートを自動で確認して実行するかどうか設定します"},
    {QXU_OPTIONS_HELP, L"QxUpdateのヘルプを表示します"},
    {QXU_OPTIONS_ABOUT, L"QxUpdateのバージョン情報を表示します"},
    {IDCANCEL, L"QxUpdateの環境設定ウィンドウを閉じます"},
};

}  // namespace

void OptionTooltips::Rebuild(HWND dialog, bool create) {
  for (HWND& slot : slots_) {
    if (slot) DestroyWindow(slot);
    slot = nullptr;
  }
  if (!create) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  int next = 0;
  for (const TooltipText& entry : kTooltips) {
    HWND tooltip = AttachTooltip(instance, dialog, entry.control, entry.text, 0);
    if (tooltip) slots_[next++] = tooltip;
  }
}

HWND OptionTooltips::Slot(int slot) const {
  return slot >= 0 && slot < kOptionTooltipSlots ? slots_[slot] : nullptr;
}

}  // namespace qxu
