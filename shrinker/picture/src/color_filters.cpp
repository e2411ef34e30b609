// Rounding, the colour model conversions and the saturation filter.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "extended_precision.h"
#include "parallel_rows.h"
#include "picture/filters.h"
#include "saturation.h"

namespace vantilo {

int ClampRound(double x) {
  if (!(x > 0)) x = 0;
  if (!(x < 255)) x = 255;
  // Half to even by hand: the library's nearbyint saves and restores the
  // floating-point environment on every call, which dominated the filters.
  const int whole = static_cast<int>(x);
  const double rest = x - whole;
  return whole + (rest > 0.5 || (rest == 0.5 && (whole & 1)));
}

namespace {

// Half to even for the small values of the hue formula (|x| < 2^31). The
// integer part goes through a double, since converting an x87 value to an
// integer switches the rounding mode twice; rounding to the double can only
// land on the neighbouring integer, which the extended comparison corrects.
int RoundHalfEven(long double x) {
  int whole = static_cast<int>(static_cast<double>(x));
  if (whole > x) --whole;  // floor
  const long double rest = x - whole;
  return whole + (rest > 0.5L || (rest == 0.5L && (whole & 1)));
}

// Which formula gives the hue; when channels share the maximum the later
// matching channel decides.
enum HueCase { kFromC0 = 0, kFromC1 = 1, kFromC2 = 2 };

HueCase CaseOf(int c1, int c2, int value) {
  return value == c2 ? kFromC2 : value == c1 ? kFromC1 : kFromC0;
}

// The formula's numerator for that case, |numerator| <= d.
int NumeratorOf(HueCase k, int c0, int c1, int c2) {
  return k == kFromC2 ? c0 - c1 : k == kFromC1 ? c2 - c0 : c1 - c2;
}

// Hue of a pixel from its case, numerator and spread d > 0, each formula
// evaluated in extended precision exactly as written.
int HueFormula(HueCase k, int numerator, int d) {
  long double h;
  if (k == kFromC2)
    h = (static_cast<long double>(numerator) / d + 4) * 60;
  else if (k == kFromC1)
    h = (static_cast<long double>(numerator) / d + 2) * 60;
  else
    h = static_cast<long double>(numerator) / d * 60;
  int hue = RoundHalfEven(h);
  if (hue < 0) hue += 360;
  if (hue > 359) hue -= 360;
  return hue;
}

int HueOf(int c0, int c1, int c2, int value, int d) {
  const HueCase k = CaseOf(c1, c2, value);
  return HueFormula(k, NumeratorOf(k, c0, c1, c2), d);
}

struct Sextant {
  int i = 0;
  double f = 0;
};

Sextant SextantOf(int hue) {
  const double h = static_cast<double>(static_cast<long double>(hue) / 60);
  const double i = std::floor(h);
  Sextant s;
  s.f = static_cast<double>(static_cast<long double>(h) - i);
  s.i = (static_cast<int>(i) % 6 + 6) % 6;
  return s;
}

int ScaleP(double s, int value) {
  return ClampRound(static_cast<double>((1 - static_cast<long double>(s)) * value));
}
int ScaleQ(double s, double f, int value) {
  return ClampRound(static_cast<double>((1 - static_cast<long double>(s) * f) * value));
}
int ScaleT(double s, double f, int value) {
  return ClampRound(
      static_cast<double>((1 - (1 - static_cast<long double>(f)) * s) * value));
}

Channels Arrange(int i, int value, int p, int q, int t) {
  switch (i) {
    case 0: return {value, t, p};
    case 1: return {q, value, p};
    case 2: return {p, value, t};
    case 3: return {p, q, value};
    case 4: return {t, p, value};
    default: return {value, p, q};
  }
}

}  // namespace

Hsv RgbToHsv(int c0, int c1, int c2) {
  ExtendedPrecisionScope precision;
  Hsv r;
  r.value = std::max({c0, c1, c2});
  const int d = r.value - std::min({c0, c1, c2});
  r.saturation = r.value != 0 ? static_cast<double>(static_cast<long double>(d) / r.value) : 0.0;
  r.hue = d != 0 ? HueOf(c0, c1, c2, r.value, d) : 0;
  return r;
}

Channels HsvToRgb(int hue, int value, double saturation) {
  ExtendedPrecisionScope precision;
  if (saturation == 0) return {value, value, value};
  const Sextant x = SextantOf(hue);
  return Arrange(x.i, value, ScaleP(saturation, value), ScaleQ(saturation, x.f, value),
                 ScaleT(saturation, x.f, value));
}

namespace {

// Hue by the rational value of the formula: away from a tie of the
// rounding, the extended evaluation (error below 1e-16) and the exact value
// (at least 1 / 510 from a half) round alike. Ties go to the formula.
int HueByQuotient(HueCase k, int numerator, int d) {
  const double x = static_cast<double>(120 * numerator + d) / (2.0 * d);  // 60 n / d + 1/2
  const int truncated = static_cast<int>(x);
  const int whole = truncated - (truncated > x);  // floor, without a jump
  if (whole == x) return HueFormula(k, numerator, d);
  int hue = whole + 120 * static_cast<int>(k);
  hue += hue < 0 ? 360 : 0;
  hue -= hue > 359 ? 360 : 0;
  return hue;
}

// ClampRound of (1 - s g) value evaluated in doubles, g being f (q) or 1 - f
// (t): it lies within a few units in the last place of the extended
// evaluation, so only near a half can the two round apart, and there the
// extended evaluation decides. Elsewhere rounding up from a half rounds as
// half to even, and clamping first changes nothing; no jumps on the data.
int RoundQT(double s, double g, int i, double f, int value) {
  const double y = (1 - s * g) * value;
  const double c = std::max(0.0, std::min(255.0, y));
  const int whole = static_cast<int>(c);
  const double rest = c - whole - 0.5;
  if (std::fabs(rest) < 1e-9) return (i & 1) ? ScaleQ(s, f, value) : ScaleT(s, f, value);
  return whole + (rest > 0);
}

}  // namespace

Saturator::Saturator(int amount) : amount_(amount < 0 ? 0 : amount), raised_(256 * 256), p_(256 * 256) {
  ExtendedPrecisionScope precision;
  ok_ = precision.Ok();
  for (int value = 1; value < 256; ++value) {
    for (int d = 1; d <= value; ++d) {
      const double s = static_cast<double>(static_cast<long double>(d) / value);
      const double raisedS = static_cast<double>(static_cast<long double>(amount_) * s / 100);
      raised_[value * 256 + d] = raisedS;
      p_[value * 256 + d] = static_cast<std::uint8_t>(ScaleP(raisedS, value));
    }
  }
  for (int hue = 0; hue < 360; ++hue) {
    const Sextant x = SextantOf(hue);
    sextantI_[hue] = x.i;
    sextantF_[hue] = x.f;
    sextantG_[hue] = (x.i & 1) ? x.f : 1 - x.f;
  }
}

std::uint32_t Saturator::Pixel(int c0, int c1, int c2) const {
  const int value = std::max({c0, c1, c2});
  const int d = value - std::min({c0, c1, c2});
  // Gray, or an amount of 0: the conversion gives the value back.
  if (d == 0 || amount_ == 0) return static_cast<std::uint32_t>(value) * 0x010101u;
  const HueCase kc = CaseOf(c1, c2, value);
  const int hue = HueByQuotient(kc, NumeratorOf(kc, c0, c1, c2), d);
  const std::size_t k = static_cast<std::size_t>(value) * 256 + d;
  const double s = raised_[k];
  const int i = sextantI_[hue];
  const double f = sextantF_[hue];
  // Each sextant needs only one of q and t; the slots come from a table.
  const int qt = RoundQT(s, sextantG_[hue], i, f, value);
  static constexpr std::uint8_t kSlots[6][3] = {{0, 2, 1}, {2, 0, 1}, {1, 0, 2},
                                                {1, 2, 0}, {2, 1, 0}, {0, 1, 2}};
  const std::uint32_t v[3] = {static_cast<std::uint32_t>(value), p_[k], static_cast<std::uint32_t>(qt)};
  const std::uint8_t* slot = kSlots[i];
  return v[slot[0]] | v[slot[1]] << 8 | v[slot[2]] << 16;
}

void Saturator::Row(std::uint8_t* px, int width, Cache& cache) const {
  for (int x = 0; x < width; ++x, px += 3) {
    const std::uint32_t c0 = px[0], c1 = px[1], c2 = px[2];
    // Indexed by the low six bits of each channel, so that the close colours
    // of a smooth area sit close together; the entry holds the result below
    // a tag of the high two bits of each channel and a presence bit.
    std::atomic<std::uint32_t>& slot = cache[(c0 & 0x3F) | (c1 & 0x3F) << 6 | (c2 & 0x3F) << 12];
    const std::uint32_t tag = (0x40 | c0 >> 6 | (c1 >> 6) << 2 | (c2 >> 6) << 4) << 24;
    std::uint32_t out = slot.load(std::memory_order_relaxed);
    if ((out & 0xFF000000u) != tag) {
      out = tag | Pixel(static_cast<int>(c0), static_cast<int>(c1), static_cast<int>(c2));
      slot.store(out, std::memory_order_relaxed);
    }
    px[0] = static_cast<std::uint8_t>(out);
    px[1] = static_cast<std::uint8_t>(out >> 8);
    px[2] = static_cast<std::uint8_t>(out >> 16);
  }
}

bool RaiseSaturation(const WorkPicture& source, WorkPicture& destination, int amount) {
  if (source.Format() != PixelFormat::Bgr24) return false;
  if (&source != &destination && !destination.CopyFrom(source)) return false;
  const Saturator saturator(amount);
  if (!saturator.Ok()) return false;
  Saturator::Cache cache(Saturator::kCacheSize);
  return ForRowRanges(destination.Height(), 64, [&](int y0, int y1) {
    ExtendedPrecisionScope precision;  // the rare extended evaluations
    if (!precision.Ok()) return false;
    for (int y = y0; y < y1; ++y) saturator.Row(destination.Row(y), destination.Width(), cache);
    return true;
  });
}

}  // namespace vantilo
