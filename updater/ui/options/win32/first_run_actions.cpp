#include "ui/options/win32/first_run_actions.h"

#include "ui/association/win32/file_association.h"
#include "engine/identity/win32/program_identity.h"
#include "ui/options/win32/proxy_dialog.h"

namespace qxu {
namespace {

int RegisterFromFirstRun(ProgramIdentity* identity, void*) {
  const wchar_t* program = identity && identity->programPath ? identity->programPath : L"";
  return RegisterAssociation(kAssociationTypeName, kAssociationTypeDescription,
                             kAssociationVerbCaption, program, kAssociationExtension, program,
                             kAssociationIconIndex);
}

int ProxyFromFirstRun(void* context) {
  return ShowProxyDialog(*static_cast<const DialogContext*>(context));
}

}  // namespace

FirstRunHooks DialogFirstRunHooks(const DialogContext* context) {
  FirstRunHooks hooks = DefaultFirstRunHooks();
  hooks.registerAssociation = RegisterFromFirstRun;
  if (context) {
    hooks.showProxyDialog = ProxyFromFirstRun;
    hooks.context = const_cast<DialogContext*>(context);
  }
  return hooks;
}

}  // namespace qxu
