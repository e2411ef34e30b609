#include "engine/identity/win32/operating_system.h"

#include "engine/identity/win32/program_identity.h"

namespace qxu {

void FillOperatingSystemFields(ProgramIdentity* identity) {
  if (!identity) return;
  static_assert(sizeof identity->osVersion == 284, "extended version record of 284 bytes");
  identity->osVersion = {};
  identity->osVersion.dwOSVersionInfoSize = sizeof identity->osVersion;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&identity->osVersion));
#pragma GCC diagnostic pop
}

}  // namespace qxu
