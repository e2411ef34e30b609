#include "ui/runwindows/win32/run_binding.h"

namespace qxu {

namespace {
SavedOptions g_saved;
// Stable storage for the pointer-to-string fields the save reads.
int g_information = 1;
int g_proxyUserUse = 0;
wchar_t* g_proxyUser = nullptr;
wchar_t* g_proxyScrambled = nullptr;
}  // namespace

WindowsBinding& Binding() {
  static WindowsBinding binding;
  return binding;
}

int Flag(const int* field, int fallback) { return field ? *field : fallback; }

const wchar_t* Text(wchar_t* const* field) { return field && *field && **field ? *field : nullptr; }

void RememberSavedOptions() {
  WindowsBinding& b = Binding();
  g_saved = TakeSavedOptions(Flag(b.information, 1), Flag(b.proxyUserUse), Text(b.proxyUser),
                             Text(b.proxyPasswordScrambled));
}

void SaveRunSettings() {
  WindowsBinding& b = Binding();
  if (!g_saved.taken) RememberSavedOptions();
  g_information = g_saved.information;
  g_proxyUserUse = g_saved.proxyUserUse;
  g_proxyUser = g_saved.proxyUser.empty() ? nullptr : g_saved.proxyUser.data();
  g_proxyScrambled = g_saved.proxyPasswordScrambled.empty() ? nullptr : g_saved.proxyPasswordScrambled.data();
  SettingsOptionFields fields;
  fields.information = &g_information;
  fields.proxyUserUse = &g_proxyUserUse;
  fields.proxyUser = &g_proxyUser;
  fields.proxyPasswordScrambled = &g_proxyScrambled;
  SaveUpdaterSettings(b.identity, b.settings, fields, 0);
}

}  // namespace qxu
