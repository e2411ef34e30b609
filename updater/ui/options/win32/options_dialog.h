#pragma once
// The options dialog (template 201): result message, weekly self-update,
// association of update description files, proxy dialog, help, about box and
// the self-update on demand.
#include <windows.h>

#include "ui/lang/resource_ids.h"
#include "ui/options/win32/dialog_context.h"

namespace qxu {

// What ShowOptionsDialog ends with besides IDOK and IDCANCEL.
inline constexpr int kOptionsSelfUpdateNow = QXU_OPTIONS_SELF_UPDATE;

inline constexpr wchar_t kAssociateQuestion[] =
    L"アップデート設定ファイルを関連付けます．\r\nよろしいですか？";
inline constexpr wchar_t kAssociateQuestionCaption[] = L"確認";
inline constexpr wchar_t kAssociated[] = L"関連付けしました";
inline constexpr wchar_t kRemoveAssociationQuestion[] =
    L"アップデート設定ファイルの関連付けを削除します．\r\nよろしいですか？";
inline constexpr wchar_t kAssociationRemoved[] = L"関連付けを削除しました";

// The association the options dialog makes.
inline constexpr wchar_t kOptionsTypeDescription[] = L"QxUpdateアップデートファイル";

inline constexpr wchar_t kHelpFileName[] = L"QxUpdate.chm";
inline constexpr wchar_t kHelpTopic[] = L"_RESOURCE/Help-main.html";

// The tooltip of an open options dialog in a slot, or none.
HWND OptionTooltipOf(HWND dialog, int slot);

// Runs the dialog modally without owner: 1 (OK, saved), 2 (closed) or
// kOptionsSelfUpdateNow.
int ShowOptionsDialog(const DialogContext& context);

}  // namespace qxu
