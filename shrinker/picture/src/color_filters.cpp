// Rounding, the colour model conversions and the saturation filter.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "extended_precision.h"
#include "parallel_rows.h"
#include "picture/filters.h"

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

// Everything about one amount that does not depend on the hue, indexed by
// value and spread d = max - min: the raised saturation and the p channel.
// With the per-hue sextants and the hue table below, a pixel costs lookups
// and one product chain for q or t, with results identical to the
// step-by-step conversion.
struct SaturationTables {
  std::vector<double> raised;     // [value * 256 + d]
  std::vector<std::uint8_t> p;    // [value * 256 + d]
  Sextant sextant[360];

  explicit SaturationTables(int amount) : raised(256 * 256), p(256 * 256) {
    for (int value = 1; value < 256; ++value) {
      for (int d = 1; d <= value; ++d) {
        const double s = static_cast<double>(static_cast<long double>(d) / value);
        const double raisedS = static_cast<double>(static_cast<long double>(amount) * s / 100);
        raised[value * 256 + d] = raisedS;
        p[value * 256 + d] = static_cast<std::uint8_t>(ScaleP(raisedS, value));
      }
    }
    for (int hue = 0; hue < 360; ++hue) sextant[hue] = SextantOf(hue);
  }
};

// Hue by formula case, numerator and d at [case][d * d + d + numerator]; the
// hue depends on nothing else, so each division happens once per process.
std::vector<std::int16_t> BuildHueTable() {
  ExtendedPrecisionScope precision;
  std::vector<std::int16_t> hue(3 * 65536);
  for (int k = 0; k < 3; ++k)
    for (int d = 1; d < 256; ++d)
      for (int n = -d; n <= d; ++n)
        hue[k * 65536 + d * d + d + n] =
            static_cast<std::int16_t>(HueFormula(static_cast<HueCase>(k), n, d));
  return hue;
}

const std::int16_t* HueTable() {
  static const std::vector<std::int16_t> table = BuildHueTable();
  return table.data();
}

// One pixel through RgbToHsv, the raised saturation and HsvToRgb, packed
// as c0 | c1 << 8 | c2 << 16.
std::uint32_t SaturatePixel(const SaturationTables& tables, const std::int16_t* hueTable, int amount,
                            int c0, int c1, int c2) {
  const int value = std::max({c0, c1, c2});
  const int d = value - std::min({c0, c1, c2});
  // Gray, or an amount of 0: the conversion gives the value back.
  if (d == 0 || amount == 0) return static_cast<std::uint32_t>(value) * 0x010101u;
  const HueCase kc = CaseOf(c1, c2, value);
  const int hue = hueTable[kc * 65536 + d * d + d + NumeratorOf(kc, c0, c1, c2)];
  const std::size_t k = static_cast<std::size_t>(value) * 256 + d;
  const double s = tables.raised[k];
  const Sextant& sx = tables.sextant[hue];
  // Each sextant needs only one of q and t; the slots come from a table
  // rather than a switch.
  const int qt = (sx.i & 1) ? ScaleQ(s, sx.f, value) : ScaleT(s, sx.f, value);
  static constexpr std::uint8_t kSlots[6][3] = {{0, 2, 1}, {2, 0, 1}, {1, 0, 2},
                                                {1, 2, 0}, {2, 1, 0}, {0, 1, 2}};
  const std::uint32_t v[3] = {static_cast<std::uint32_t>(value), tables.p[k],
                              static_cast<std::uint32_t>(qt)};
  const std::uint8_t* slot = kSlots[sx.i];
  return v[slot[0]] | v[slot[1]] << 8 | v[slot[2]] << 16;
}

bool SaturateRows(WorkPicture& picture, const SaturationTables& tables, int amount, int y0, int y1) {
  ExtendedPrecisionScope precision;
  if (!precision.Ok()) return false;
  const int width = picture.Width();
  const std::int16_t* hueTable = HueTable();
  // Photographs repeat colours a lot; remembering recent ones by colour
  // skips the arithmetic without changing any result.
  constexpr int kCacheBits = 18;
  // Key (colour with a presence bit) in the high half, result in the low.
  std::vector<std::uint64_t> cache(std::size_t{1} << kCacheBits, 0);
  for (int y = y0; y < y1; ++y) {
    std::uint8_t* px = picture.Row(y);
    for (int x = 0; x < width; ++x, px += 3) {
      const std::uint32_t colour = px[0] | px[1] << 8 | px[2] << 16;
      const std::uint64_t key = static_cast<std::uint64_t>(colour | 0x01000000u) << 32;
      std::uint64_t& entry = cache[(colour * 2654435761u) >> (32 - kCacheBits)];
      if ((entry & 0xFFFFFFFF00000000u) != key)
        entry = key | SaturatePixel(tables, hueTable, amount, px[0], px[1], px[2]);
      const std::uint32_t out = static_cast<std::uint32_t>(entry);
      px[0] = static_cast<std::uint8_t>(out);
      px[1] = static_cast<std::uint8_t>(out >> 8);
      px[2] = static_cast<std::uint8_t>(out >> 16);
    }
  }
  return true;
}

}  // namespace

bool RaiseSaturation(const WorkPicture& source, WorkPicture& destination, int amount) {
  if (source.Format() != PixelFormat::Bgr24) return false;
  if (&source != &destination && !destination.CopyFrom(source)) return false;
  if (amount < 0) amount = 0;
  ExtendedPrecisionScope precision;
  if (!precision.Ok()) return false;
  const SaturationTables tables(amount);
  return ForRowRanges(destination.Height(), 64, [&](int y0, int y1) {
    return SaturateRows(destination, tables, amount, y0, y1);
  });
}

}  // namespace vantilo
