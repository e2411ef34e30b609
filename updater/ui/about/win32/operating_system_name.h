#pragma once
// The operating system's name of the identity record, worked out once when
// the record is created.
#include <windows.h>

#include "ui/about/core/os_name.h"

namespace qxu {

struct ProgramIdentity;

// The kind for a version record; for version 6 GetProductInfo is looked up
// in kernel32 at run time.
OsKind DetermineOsKind(const OSVERSIONINFOEXW& version);

// Sets the identity's operating-system kind and name from its version record
// (the name stays none when no rule matches).
void FillOperatingSystemName(ProgramIdentity* identity);

}  // namespace qxu
