#pragma once
// The proxy dialog (template 203): whether the proxy needs a user, the user
// name and the password.
#include "ui/options/win32/dialog_context.h"

namespace qxu {

// Runs the dialog modally without owner: 1 (OK, saved) or 2 (cancel). The
// check box takes effect in memory at once, also when cancelled.
int ShowProxyDialog(const DialogContext& context);

}  // namespace qxu
