#pragma once
// The per-user ini setting file of QxUpdate.
#include <windows.h>

#include "engine/settings/core/updater_settings.h"

namespace qxu {

struct ProgramIdentity;

// What the first-run questions trigger. The association of ".quf" and the
// proxy dialog are made by their own modules; a missing action is skipped.
struct FirstRunHooks {
  // Shows a message box without owner; returns IDYES, IDNO, IDOK...
  int (*messageBox)(const wchar_t* text, const wchar_t* caption, UINT type, void* context) = nullptr;
  // Registers the association (type kAssociationTypeName, ...); 1 when made.
  int (*registerAssociation)(ProgramIdentity* identity, void* context) = nullptr;
  // Shows the proxy dialog modally, without owner; it saves when confirmed.
  int (*showProxyDialog)(void* context) = nullptr;
  void* context = nullptr;
};

// The hooks used at start-up: message boxes of the platform, and the
// association and proxy dialog once their modules exist.
FirstRunHooks DefaultFirstRunHooks();

inline constexpr wchar_t kAssociationTypeName[] = L"QxUpdateFormat";
inline constexpr wchar_t kAssociationTypeDescription[] = L"QxUpdate設定ファイル";
inline constexpr wchar_t kAssociationVerbCaption[] = L"アップデート実行(&R)";
inline constexpr wchar_t kAssociationExtension[] = L".quf";
inline constexpr int kAssociationIconIndex = 1;

// Full path of the setting file, computed by the first call of the run and
// kept by the identity record; later calls return it unchanged. None when
// no path can be formed.
const wchar_t* GetSettingFilePath(ProgramIdentity* identity, int allowUserName);

// Reads the file into settings and options; when it does not exist, asks the
// first-run questions and writes it. Returns 1.
int LoadUpdaterSettings(ProgramIdentity* identity, UpdaterSettings* settings,
                        SettingsOptions& options, const FirstRunHooks& hooks);

// Replaces the section with the current values and hides the file. With
// stampLastCheck 1, LastCheck becomes the current local time first. 1 when
// written, 0 when the text buffer cannot be allocated.
int SaveUpdaterSettings(ProgramIdentity* identity, UpdaterSettings* settings,
                        const SettingsOptions& options, int stampLastCheck);

}  // namespace qxu
