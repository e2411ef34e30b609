#pragma once
// The dialogs as the rest of the program reaches them: one context for the
// process, filled at start-up before the settings are loaded.
#include "ui/options/win32/dialog_context.h"

namespace qxu {

DialogContext& ProcessDialogContext();

// ShowOptionsDialog on the process's context: 1, 2 or 2301. The form the
// main window's start timer calls.
INT_PTR ShowProcessOptionsDialog();

// The first-run hooks for LoadUpdaterSettings, with the association and the
// proxy dialog on the process's context.
FirstRunHooks ProcessFirstRunHooks();

}  // namespace qxu
