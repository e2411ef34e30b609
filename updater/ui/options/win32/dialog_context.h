#pragma once
// What the options and proxy dialogs work on: the language resource library
// with their templates and icons, the identity, and the values of the
// setting file.
#include <windows.h>

#include "ui/options/core/proxy_credentials.h"
#include "engine/settings/win32/settings_file.h"

namespace qxu {

struct ProgramIdentity;

struct DialogContext {
  HMODULE library = nullptr;
  ProgramIdentity* identity = nullptr;
  UpdaterSettings* settings = nullptr;
  SettingsOptions* options = nullptr;  // the run's options, which the file also carries
};

// Writes the setting file without stamping LastCheck.
inline void SaveDialogSettings(const DialogContext& context) {
  if (context.settings && context.options)
    SaveUpdaterSettings(context.identity, context.settings, *context.options, 0);
}

}  // namespace qxu
