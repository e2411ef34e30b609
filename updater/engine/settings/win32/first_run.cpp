#include "engine/settings/win32/first_run.h"

#include "engine/identity/win32/program_identity.h"

namespace qxu {
namespace {

int PlatformMessageBox(const wchar_t* text, const wchar_t* caption, UINT type, void*) {
  return MessageBoxW(nullptr, text, caption, type);
}

}  // namespace

FirstRunHooks DefaultFirstRunHooks() {
  FirstRunHooks hooks;
  hooks.messageBox = PlatformMessageBox;
  // The association and the proxy dialog are filled in here by their modules.
  return hooks;
}

void AskFirstRunQuestions(ProgramIdentity* identity, UpdaterSettings* settings,
                          SettingsOptions& options, const FirstRunHooks& hooks) {
  auto ask = hooks.messageBox ? hooks.messageBox : PlatformMessageBox;
  const wchar_t* caption = MessageCaption(identity);
  auto yes = [&](const wchar_t* text) {
    return ask(text, caption, MB_YESNO | MB_ICONQUESTION, hooks.context) == IDYES;
  };
  if (!yes(kFirstRunWelcome)) return;
  if (yes(kFirstRunAssociate) && hooks.registerAssociation &&
      hooks.registerAssociation(identity, hooks.context) == 1)
    ask(kFirstRunAssociated, caption, MB_OK | MB_ICONINFORMATION, hooks.context);
  if (yes(kFirstRunProxy) && hooks.showProxyDialog) hooks.showProxyDialog(hooks.context);
  options.information = yes(kFirstRunInformation) ? 1 : 0;
  settings->autoUpdate = yes(kFirstRunAutoUpdate) ? 1 : 0;
}

}  // namespace qxu
