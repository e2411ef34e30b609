#pragma once
// The options a run window writes back when it saves the settings.
//
// A run's command line overrides the setting file only for that run: saving
// the overridden values would let one scheduled "--silent" run switch the
// result message off for good, and store proxy credentials given with
// "-pu"/"-pw" for one run. So the values as the setting file (and the
// dialogs, which save for themselves) left them are kept aside before the
// command line is applied, and those are written.
#include <string>

namespace qxu {

struct SavedOptions {
  bool taken = false;
  int information = 1;
  int proxyUserUse = 0;
  std::wstring proxyUser;               // empty: none
  std::wstring proxyPasswordScrambled;  // empty: none
};

// Values of the options record before the command line touched it.
SavedOptions TakeSavedOptions(int information, int proxyUserUse, const wchar_t* proxyUser,
                              const wchar_t* proxyPasswordScrambled);

}  // namespace qxu
