#include "ui/runwindows/core/saved_options.h"

namespace qxu {

SavedOptions TakeSavedOptions(int information, int proxyUserUse, const wchar_t* proxyUser,
                              const wchar_t* proxyPasswordScrambled) {
  SavedOptions s;
  s.taken = true;
  s.information = information;
  s.proxyUserUse = proxyUserUse;
  if (proxyUser) s.proxyUser = proxyUser;
  if (proxyPasswordScrambled) s.proxyPasswordScrambled = proxyPasswordScrambled;
  return s;
}

}  // namespace qxu
