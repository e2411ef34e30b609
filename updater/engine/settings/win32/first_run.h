#pragma once
// The questions asked when no setting file exists yet.
#include "engine/settings/win32/settings_file.h"

namespace qxu {

inline constexpr wchar_t kFirstRunWelcome[] =
    L"QxUpdateのご利用ありがとうございます\r\n最初の設定を行いますか？";
inline constexpr wchar_t kFirstRunAssociate[] =
    L"アップデートファイルを関連付けますか？\r\n関連付けをしておくと，各種ソフトのアップデートを簡単に実行できるようになります";
inline constexpr wchar_t kFirstRunAssociated[] = L"関連付けしました";
inline constexpr wchar_t kFirstRunProxy[] =
    L"プロキシサーバのユーザ認証を利用しますか？\r\n会社でインターネットに接続する際，\r\nユーザ認証が必要なプロキシサーバを経由する場合があります";
inline constexpr wchar_t kFirstRunInformation[] =
    L"アップデート後にアップデートしたファイル数を確認しますか？";
inline constexpr wchar_t kFirstRunAutoUpdate[] =
    L"QxUpdate自身のアップデートを自動で確認して実行しますか？";

// Asks the five questions (the later four only after Yes to the first) and
// applies the answers to settings and options. Does not save.
void AskFirstRunQuestions(ProgramIdentity* identity, UpdaterSettings* settings,
                          SettingsOptions& options, const FirstRunHooks& hooks);

}  // namespace qxu
