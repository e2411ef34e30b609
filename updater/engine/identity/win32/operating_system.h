#pragma once
// Operating-system fields of the identity record.

namespace qxu {

struct ProgramIdentity;

// Reads the platform's extended version record into the identity. The
// operating-system kind and name shown by the about box are worked out by
// the about box's own module.
void FillOperatingSystemFields(ProgramIdentity* identity);

}  // namespace qxu
