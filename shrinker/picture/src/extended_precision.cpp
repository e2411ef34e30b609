#include "extended_precision.h"

#if !defined(__i386__) && !defined(__x86_64__)
#error "the shrinker's arithmetic needs the x87 unit"
#endif

namespace vantilo {

namespace {

// The x87 control word itself, read and written with the unit's own
// instructions: the C runtimes disagree (mingw's _control87 leaves the
// precision alone on x86_64), the hardware does not.
constexpr unsigned short kPrecisionMask = 0x300;
constexpr unsigned short kExtended = 0x300;

unsigned short ReadControlWord() {
  unsigned short cw = 0;
  __asm__ __volatile__("fnstcw %0" : "=m"(cw));
  return cw;
}

void WriteControlWord(unsigned short cw) { __asm__ __volatile__("fldcw %0" : : "m"(cw)); }

unsigned short ReadPrecision() { return ReadControlWord() & kPrecisionMask; }

void WritePrecision(unsigned short pc) {
  WriteControlWord(static_cast<unsigned short>((ReadControlWord() & ~kPrecisionMask) | pc));
}

}  // namespace

ExtendedPrecisionScope::ExtendedPrecisionScope() : saved_(ReadPrecision()) {
  if (saved_ != kExtended) WritePrecision(kExtended);
  ok_ = ReadPrecision() == kExtended;
}

ExtendedPrecisionScope::~ExtendedPrecisionScope() {
  if (saved_ != kExtended) WritePrecision(static_cast<unsigned short>(saved_));
}

bool ExtendedPrecisionScope::IsExtended() { return ReadPrecision() == kExtended; }

void ExtendedPrecisionScope::SetDoubleForTesting() { WritePrecision(0x200); }

}  // namespace vantilo
