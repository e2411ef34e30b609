#include "extended_precision.h"

#if defined(_WIN32)
#include <float.h>
#elif defined(__i386__) || defined(__x86_64__)
#include <fpu_control.h>
#else
#error "the shrinker's arithmetic needs the x87 unit"
#endif

namespace vantilo {

namespace {

#if defined(_WIN32)
unsigned ReadPrecision() { return _control87(0, 0) & _MCW_PC; }
void WritePrecision(unsigned pc) { _control87(pc, _MCW_PC); }
constexpr unsigned kExtended = _PC_64;
#else
constexpr unsigned kPrecisionMask = 0x300;
unsigned ReadPrecision() {
  fpu_control_t cw;
  _FPU_GETCW(cw);
  return cw & kPrecisionMask;
}
void WritePrecision(unsigned pc) {
  fpu_control_t cw;
  _FPU_GETCW(cw);
  cw = static_cast<fpu_control_t>((cw & ~kPrecisionMask) | pc);
  _FPU_SETCW(cw);
}
constexpr unsigned kExtended = _FPU_EXTENDED;
#endif

}  // namespace

ExtendedPrecisionScope::ExtendedPrecisionScope() : saved_(ReadPrecision()) {
  if (saved_ != kExtended) WritePrecision(kExtended);
  ok_ = ReadPrecision() == kExtended;
}

ExtendedPrecisionScope::~ExtendedPrecisionScope() {
  if (saved_ != kExtended) WritePrecision(saved_);
}

bool ExtendedPrecisionScope::IsExtended() { return ReadPrecision() == kExtended; }

}  // namespace vantilo
