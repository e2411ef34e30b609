// The sharpening filter one row at a time, for the whole-picture filter and
// for rows streaming out of the shrink.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/filters.h"

namespace vantilo {

// acc = 8C - L - U - D - R lies in -1020..2040.
constexpr int kAccMin = -4 * 255;
constexpr int kAccMax = 8 * 255;

// The two terms of the output sum depend on acc and on C alone; tabling
// them in extended precision leaves one extended addition per byte, with
// exactly the same sum as the formula written out.
struct SharpenTerms {
  std::vector<long double> fromAcc;  // ((acc / 4) * strength) / 100
  long double fromCenter[256];       // ((100 - strength) * C) / 100

  explicit SharpenTerms(int strength) : fromAcc(kAccMax - kAccMin + 1) {
    for (int acc = kAccMin; acc <= kAccMax; ++acc)
      fromAcc[acc - kAccMin] = static_cast<long double>(acc) / 4 * strength / 100;
    for (int c = 0; c < 256; ++c)
      fromCenter[c] = static_cast<long double>((100 - strength) * c) / 100;
  }

  std::uint8_t Out(int acc, int c) const {
    const double sum = static_cast<double>(fromAcc[acc - kAccMin] + fromCenter[c]);
    return static_cast<std::uint8_t>(ClampRound(sum));
  }
};

// Results by (C, acc), filled on first use: neighbouring bytes repeat the
// same pairs so often that most bytes cost one lookup.
class SharpenMemo {
 public:
  explicit SharpenMemo(int strength)
      : terms_(strength), memo_(static_cast<std::size_t>(256) * kSpan, -1) {}

  std::uint8_t Get(int acc, int c) {
    std::int16_t& m = memo_[static_cast<std::size_t>(c) * kSpan + (acc - kAccMin)];
    if (m < 0) m = terms_.Out(acc, c);
    return static_cast<std::uint8_t>(m);
  }

 private:
  static constexpr int kSpan = kAccMax - kAccMin + 1;
  SharpenTerms terms_;
  std::vector<std::int16_t> memo_;
};


// One row in place or not: up is the row above as already sharpened (the
// own row at the top), down the row below as not yet sharpened (the own row
// at the bottom). out may be cur, which is then read left to right as it is
// replaced, as the in-place filter does. Needs 64-bit x87 precision.
inline void SharpenRow(SharpenMemo& memo, const std::uint8_t* up, const std::uint8_t* cur, const std::uint8_t* down,
                       std::uint8_t* out, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    const int c = cur[i];
    const int l = i >= 3 ? cur[i - 3] : c;
    const int r = i + 3 < bytes ? cur[i + 3] : c;
    out[i] = memo.Get(8 * c - l - up[i] - down[i] - r, c);
  }
}

}  // namespace vantilo
