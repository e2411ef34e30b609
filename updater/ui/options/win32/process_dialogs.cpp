#include "ui/options/win32/process_dialogs.h"

#include "ui/options/win32/first_run_actions.h"
#include "ui/options/win32/options_dialog.h"

namespace qxu {

DialogContext& ProcessDialogContext() {
  static DialogContext context;
  return context;
}

INT_PTR ShowProcessOptionsDialog() { return ShowOptionsDialog(ProcessDialogContext()); }

FirstRunHooks ProcessFirstRunHooks() { return DialogFirstRunHooks(&ProcessDialogContext()); }

}  // namespace qxu
