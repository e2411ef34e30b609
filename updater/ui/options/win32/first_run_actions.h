#pragma once
// The first-run questions of the setting file, completed with the
// association and the proxy dialog.
#include "ui/options/win32/dialog_context.h"

namespace qxu {

// The hooks LoadUpdaterSettings takes at start-up: the platform's message
// boxes, the association with the first-run type description, and the proxy
// dialog on context (which must outlive the load).
FirstRunHooks DialogFirstRunHooks(const DialogContext* context);

}  // namespace qxu
