// Rounding, the colour model conversions and the saturation filter.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

#include "extended_precision.h"
#include "picture/filters.h"

namespace vantilo {

int ClampRound(double x) {
  if (!(x > 0)) x = 0;
  if (!(x < 255)) x = 255;
  return static_cast<int>(std::nearbyint(x));  // default mode: ties to even
}

namespace {

// Extended hue of one pixel; case order matters when channels share the
// maximum: the later matching channel decides.
int HueOf(int c0, int c1, int c2, int value, int d) {
  long double h;
  if (value == c2)
    h = (static_cast<long double>(c0 - c1) / d + 4) * 60;
  else if (value == c1)
    h = (static_cast<long double>(c2 - c0) / d + 2) * 60;
  else
    h = static_cast<long double>(c1 - c2) / d * 60;
  int hue = static_cast<int>(std::nearbyint(h));
  if (hue < 0) hue += 360;
  if (hue > 359) hue -= 360;
  return hue;
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
// Per-hue sextants are tabled too, so a pixel costs one division for its
// hue and one product chain for q or t, with results identical to the
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

void SaturateRows(WorkPicture& picture, const SaturationTables& tables, int amount, int y0, int y1,
                  bool& ok) {
  ExtendedPrecisionScope precision;
  if (!precision.Ok()) {
    ok = false;
    return;
  }
  const int width = picture.Width();
  for (int y = y0; y < y1; ++y) {
    std::uint8_t* px = picture.Row(y);
    for (int x = 0; x < width; ++x, px += 3) {
      const int c0 = px[0], c1 = px[1], c2 = px[2];
      const int value = std::max({c0, c1, c2});
      const int d = value - std::min({c0, c1, c2});
      // Gray, or an amount of 0: the conversion gives the value back.
      if (d == 0 || amount == 0) {
        px[0] = px[1] = px[2] = static_cast<std::uint8_t>(value);
        continue;
      }
      const int hue = HueOf(c0, c1, c2, value, d);
      const std::size_t k = static_cast<std::size_t>(value) * 256 + d;
      const double s = tables.raised[k];
      const int p = tables.p[k];
      const Sextant& sx = tables.sextant[hue];
      // Each sextant needs only one of q and t.
      const bool odd = sx.i & 1;
      const int qt = odd ? ScaleQ(s, sx.f, value) : ScaleT(s, sx.f, value);
      const Channels o = Arrange(sx.i, value, p, qt, qt);
      px[0] = static_cast<std::uint8_t>(o.o0);
      px[1] = static_cast<std::uint8_t>(o.o1);
      px[2] = static_cast<std::uint8_t>(o.o2);
    }
  }
}

}  // namespace

bool RaiseSaturation(const WorkPicture& source, WorkPicture& destination, int amount) {
  if (source.Format() != PixelFormat::Bgr24) return false;
  if (&source != &destination && !destination.CopyFrom(source)) return false;
  if (amount < 0) amount = 0;
  ExtendedPrecisionScope precision;
  if (!precision.Ok()) return false;
  const SaturationTables tables(amount);
  const int height = destination.Height();
  // Pixels are independent, so rows are shared out between the cores.
  const unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  const int parts = static_cast<int>(std::min<std::int64_t>(cores, height / 64 + 1));
  std::vector<std::thread> workers;
  bool results[4] = {true, true, true, true};
  int begin = 0;
  try {
    for (int i = 1; i < parts; ++i) {
      const int end = static_cast<int>(std::int64_t{height} * i / parts);
      workers.emplace_back(SaturateRows, std::ref(destination), std::cref(tables), amount, begin,
                           end, std::ref(results[i]));
      begin = end;
    }
  } catch (const std::system_error&) {
    // No thread to spare: this one does the rest.
  }
  SaturateRows(destination, tables, amount, begin, height, results[0]);
  for (std::thread& w : workers) w.join();
  return std::all_of(std::begin(results), std::end(results), [](bool b) { return b; });
}

}  // namespace vantilo
