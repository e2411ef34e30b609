// Keeps x87 precision control at 64-bit significand while the shrinker's
// real arithmetic runs. Threads may start with a narrower precision (and so
// may foreign start-up code), so every computing scope sets it itself.
#pragma once

#include <cfloat>

static_assert(LDBL_MANT_DIG == 64, "long double must be the x87 80-bit type");

namespace vantilo {

class ExtendedPrecisionScope {
 public:
  ExtendedPrecisionScope();
  ~ExtendedPrecisionScope();
  ExtendedPrecisionScope(const ExtendedPrecisionScope&) = delete;
  ExtendedPrecisionScope& operator=(const ExtendedPrecisionScope&) = delete;

  // True when the control word read back says 64-bit precision.
  bool Ok() const { return ok_; }

  // Reads the current precision control: true for 64-bit significand.
  static bool IsExtended();

  // Drops this thread's precision to a 53-bit significand, as foreign
  // start-up code or a new thread may leave it.
  static void SetDoubleForTesting();

 private:
  unsigned saved_ = 0;
  bool ok_ = false;
};

}  // namespace vantilo
