// Plain reference versions of the filters, written straight from the
// step-by-step rules: long double everywhere the rules say extended,
// explicit double stores, no tables and no shortcuts. The production code
// must match them byte for byte.
#pragma once

#include <cmath>
#include <vector>

#include "picture/work_picture.h"

namespace vantilo::reference {

inline int ClampRound(double x) {
  if (!(x > 0)) x = 0;
  if (!(x < 255)) x = 255;
  const double f = std::floor(x);
  const double diff = x - f;
  if (diff > 0.5) return static_cast<int>(f) + 1;
  if (diff < 0.5) return static_cast<int>(f);
  return static_cast<int>(f) % 2 == 0 ? static_cast<int>(f) : static_cast<int>(f) + 1;
}

inline long double RoundEven(long double x) {
  const long double f = std::floor(x);
  const long double diff = x - f;
  if (diff > 0.5L) return f + 1;
  if (diff < 0.5L) return f;
  return std::fmod(f, 2.0L) == 0 ? f : f + 1;
}

// One pass over a line of n samples into m samples, stride in bytes.
inline void ResampleLine(const std::uint8_t* in, int n, std::uint8_t* out, int m, std::size_t stride) {
  std::vector<int> pos(m + 1), frac(m + 1);
  for (int i = 0; i <= m; ++i) {
    const long double q = static_cast<long double>(n) / static_cast<long double>(m);
    const double x = static_cast<double>(q * static_cast<long double>(i));
    pos[i] = static_cast<int>(x);
    frac[i] = static_cast<int>((x - static_cast<double>(static_cast<long long>(x))) * 256);
  }
  const int scale = static_cast<int>(static_cast<long double>(n) / static_cast<long double>(m) * 256);
  for (int r = 0; r < m; ++r) {
    unsigned s = (in[pos[r] * stride] * (256u - frac[r])) >> 8;
    for (int k = pos[r] + 1; k <= pos[r + 1] - 1; ++k) s += in[k * stride];
    if (frac[r + 1] != 0) s += (in[pos[r + 1] * stride] * static_cast<unsigned>(frac[r + 1])) >> 8;
    out[r * stride] = static_cast<std::uint8_t>((s * 256) / static_cast<unsigned>(scale));
  }
}

inline WorkPicture Resize(const WorkPicture& src, int w, int h) {
  WorkPicture mid, out;
  mid.SetSize(w, src.Height());
  for (int y = 0; y < src.Height(); ++y)
    for (int c = 0; c < 3; ++c) ResampleLine(src.Row(y) + c, src.Width(), mid.Row(y) + c, w, 3);
  out.SetSize(w, h);
  const std::size_t stride = mid.RowBytes();
  for (std::size_t col = 0; col < mid.RowBytes(); ++col) {
    std::vector<std::uint8_t> column(src.Height()), result(h);
    for (int y = 0; y < src.Height(); ++y) column[y] = mid.Row(y)[col];
    ResampleLine(column.data(), src.Height(), result.data(), h, 1);
    for (int y = 0; y < h; ++y) out.Row(y)[col] = result[y];
  }
  (void)stride;
  return out;
}

struct Hsv {
  int hue;
  double s;
  int value;
};

inline Hsv RgbToHsv(int c0, int c1, int c2) {
  Hsv r{};
  r.value = std::max(c0, std::max(c1, c2));
  const int mn = std::min(c0, std::min(c1, c2));
  const int d = r.value - mn;
  r.s = r.value != 0 ? static_cast<double>(static_cast<long double>(d) / r.value) : 0;
  if (d == 0) return r;
  long double hue = 0;
  if (r.value == c0) hue = RoundEven(static_cast<long double>(c1 - c2) / d * 60);
  if (r.value == c1) hue = RoundEven((static_cast<long double>(c2 - c0) / d + 2) * 60);
  if (r.value == c2) hue = RoundEven((static_cast<long double>(c0 - c1) / d + 4) * 60);
  int h = static_cast<int>(hue);
  if (h < 0) h += 360;
  if (h > 359) h -= 360;
  r.hue = h;
  return r;
}

inline void HsvToRgb(int hue, int value, double s, int o[3]) {
  if (s == 0) {
    o[0] = o[1] = o[2] = value;
    return;
  }
  const double h = static_cast<double>(static_cast<long double>(hue) / 60);
  const int i = static_cast<int>(std::floor(h));
  const double f = static_cast<double>(static_cast<long double>(h) - i);
  const int p = ClampRound(static_cast<double>((1 - static_cast<long double>(s)) * value));
  const int q = ClampRound(static_cast<double>((1 - static_cast<long double>(s) * f) * value));
  const int t = ClampRound(static_cast<double>((1 - (1 - static_cast<long double>(f)) * s) * value));
  const int table[6][3] = {{value, t, p}, {q, value, p}, {p, value, t},
                           {p, q, value}, {t, p, value}, {value, p, q}};
  for (int c = 0; c < 3; ++c) o[c] = table[i][c];
}

inline void RaiseSaturation(WorkPicture& pic, int amount) {
  if (amount < 0) amount = 0;
  for (int y = 0; y < pic.Height(); ++y)
    for (int x = 0; x < pic.Width(); ++x) {
      std::uint8_t* px = pic.Row(y) + 3 * x;
      const Hsv hsv = RgbToHsv(px[0], px[1], px[2]);
      const double s = static_cast<double>(static_cast<long double>(amount) * hsv.s / 100);
      int o[3];
      HsvToRgb(hsv.hue, hsv.value, s, o);
      for (int c = 0; c < 3; ++c) px[c] = static_cast<std::uint8_t>(ClampRound(o[c]));
    }
}

inline void Sharpen(WorkPicture& pic, int strength) {
  const int w = pic.Width(), h = pic.Height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) {
        auto at = [&](int xx, int yy) { return static_cast<int>(pic.Row(yy)[3 * xx + c]); };
        const int C = at(x, y);
        const int L = x > 0 ? at(x - 1, y) : C;
        const int R = x < w - 1 ? at(x + 1, y) : C;
        const int U = y > 0 ? at(x, y - 1) : C;
        const int D = y < h - 1 ? at(x, y + 1) : C;
        const double acc = 8 * C - L - U - D - R;
        const long double a = static_cast<long double>(acc) / 4 * strength / 100;
        const long double b = static_cast<long double>((100 - strength) * C) / 100;
        const double sum = static_cast<double>(a + b);
        pic.Row(y)[3 * x + c] = static_cast<std::uint8_t>(ClampRound(sum));
      }
}

}  // namespace vantilo::reference
