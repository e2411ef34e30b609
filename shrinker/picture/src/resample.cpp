// Box fitting and the two area-averaging passes.
#include <cmath>
#include <cstdint>
#include <vector>

#include "extended_precision.h"
#include "parallel_rows.h"
#include "picture/filters.h"

namespace vantilo {

namespace {

// Where each output cell starts in the input, in whole pixels plus 1/256
// steps, and the divisor that turns a cell's sum back into a byte.
struct CellTable {
  std::vector<int> pos;
  std::vector<int> frac;
  int scale = 0;
  // Sum to output byte; a table since the sums of one pass are small.
  std::vector<std::uint8_t> divide;
};

bool BuildCellTable(int n, int m, CellTable& t) {
  ExtendedPrecisionScope precision;
  if (!precision.Ok() || n <= 0 || m <= 0) return false;
  const long double ratio = static_cast<long double>(n) / m;
  t.pos.resize(static_cast<std::size_t>(m) + 1);
  t.frac.resize(static_cast<std::size_t>(m) + 1);
  for (int i = 0; i <= m; ++i) {
    const double x = static_cast<double>(ratio * i);
    const double whole = std::trunc(x);
    t.pos[i] = static_cast<int>(whole);
    t.frac[i] = static_cast<int>((x - whole) * 256);
  }
  t.scale = static_cast<int>(ratio * 256);
  // The last cell must end on the last pixel, and no cell may reach past it.
  if (t.scale <= 0 || t.pos[m] > n || (t.pos[m] == n && t.frac[m] != 0)) return false;
  for (int i = 0; i < m; ++i)
    if (t.pos[i] > t.pos[i + 1] || t.pos[i] >= n) return false;

  int widest = 0;
  for (int i = 0; i < m; ++i) widest = std::max(widest, t.pos[i + 1] - t.pos[i] + 1);
  const std::int64_t maxSum = std::int64_t{255} * widest;
  if (maxSum > (std::int64_t{1} << 24)) return false;  // beyond kMaxPixels' reach
  t.divide.resize(static_cast<std::size_t>(maxSum) + 1);
  for (std::int64_t s = 0; s <= maxSum; ++s) {
    // Only a widening pass can exceed 255; clamp rather than wrap.
    const std::int64_t q = s * 256 / t.scale;
    t.divide[static_cast<std::size_t>(s)] = static_cast<std::uint8_t>(q > 255 ? 255 : q);
  }
  return true;
}

bool Is24(const WorkPicture& p) { return p.Format() == PixelFormat::Bgr24; }

// Cells 0..count-1 of one row through their weight windows. A constant
// span lets the compiler unroll the window; 0 means "use span".
template <int Fixed>
void WindowCells(const std::uint8_t* p, std::uint8_t* out, const CellTable& t,
                 const std::uint16_t* weights, int span, int count) {
  const int n = Fixed > 0 ? Fixed : span;
  for (int r = 0; r < count; ++r, out += 3) {
    const std::uint8_t* a = p + 3 * t.pos[r];
    const std::uint16_t* w = weights + static_cast<std::size_t>(r) * n;
    std::uint32_t s0 = 0, s1 = 0, s2 = 0;
    for (int j = 0; j < n; ++j, a += 3) {
      s0 += (a[0] * static_cast<std::uint32_t>(w[j])) >> 8;
      s1 += (a[1] * static_cast<std::uint32_t>(w[j])) >> 8;
      s2 += (a[2] * static_cast<std::uint32_t>(w[j])) >> 8;
    }
    out[0] = t.divide[s0];
    out[1] = t.divide[s1];
    out[2] = t.divide[s2];
  }
}

}  // namespace

bool FitSize(int width, int height, int boxWidth, int boxHeight, int& newWidth, int& newHeight) {
  ExtendedPrecisionScope precision;
  if (!precision.Ok() || width <= 0 || height <= 0) return false;
  if (width < boxWidth && height < boxHeight) {
    newWidth = width;
    newHeight = height;
    return true;
  }
  // Quotient first, then product, both extended; truncated in extended so
  // that huge ratios cannot overflow the integer conversion.
  long double h = std::trunc(static_cast<long double>(boxWidth) / width * height);
  long double w;
  if (h <= boxHeight) {
    w = boxWidth;
  } else {
    h = boxHeight;
    w = std::trunc(static_cast<long double>(boxHeight) / height * width);
  }
  // A non-square box may ask for more columns than the source has; the
  // box filter only shrinks, so keep the source width (rows stay equal).
  if (w > width) w = width;
  if (w <= 0 || h <= 0) return false;
  newWidth = static_cast<int>(w);
  newHeight = static_cast<int>(h);
  return true;
}

bool ResampleHorizontal(const WorkPicture& source, WorkPicture& destination) {
  if (!Is24(source) || !Is24(destination) || destination.Height() != source.Height()) return false;
  if (&source == &destination) return true;  // same width: the identity
  const int n = source.Width();
  const int m = destination.Width();
  CellTable t;
  if (!BuildCellTable(n, m, t)) return false;
  const std::uint8_t* divide = t.divide.data();

  // Each cell as a fixed window of weights: 256 - frac for its first pixel,
  // 256 for whole pixels, frac for its last and 0 beyond. (p * 256) >> 8 is
  // p and (p * 0) >> 8 is 0, so the window sum equals the cell sum exactly
  // while the loop length stops varying from cell to cell.
  int span = 1;
  for (int r = 0; r < m; ++r) span = std::max(span, t.pos[r + 1] - t.pos[r] + 1);
  std::vector<std::uint16_t> weights(static_cast<std::size_t>(m) * span, 0);
  int windowed = 0;  // leading cells whose window stays inside the row
  for (int r = 0; r < m; ++r) {
    std::uint16_t* w = &weights[static_cast<std::size_t>(r) * span];
    const int cells = t.pos[r + 1] - t.pos[r];
    // A cell inside one pixel (widening only) weighs that pixel twice, each
    // part floored on its own: no single weight says that.
    if (cells == 0) {
      windowed = 0;
      break;
    }
    w[0] = static_cast<std::uint16_t>(256 - t.frac[r]);
    for (int j = 1; j < cells; ++j) w[j] = 256;
    w[cells] = static_cast<std::uint16_t>(t.frac[r + 1]);
    if (t.pos[r] + span <= n) windowed = r + 1;
  }

  return ForRowRanges(source.Height(), 32, [&](int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
      const std::uint8_t* p = source.Row(y);
      std::uint8_t* out = destination.Row(y);
      const std::uint16_t* w = weights.data();
      switch (span) {
        case 2: WindowCells<2>(p, out, t, w, span, windowed); break;
        case 3: WindowCells<3>(p, out, t, w, span, windowed); break;
        case 4: WindowCells<4>(p, out, t, w, span, windowed); break;
        case 5: WindowCells<5>(p, out, t, w, span, windowed); break;
        case 6: WindowCells<6>(p, out, t, w, span, windowed); break;
        default: WindowCells<0>(p, out, t, w, span, windowed); break;
      }
      out += 3 * static_cast<std::size_t>(windowed);
      // The last few cells, whose window would reach past the row.
      for (int r = windowed; r < m; ++r, out += 3) {
        const int first = t.pos[r];
        const int last = t.pos[r + 1];
        const std::uint32_t w0 = 256 - t.frac[r];
        const std::uint8_t* a = p + 3 * first;
        std::uint32_t s0 = (a[0] * w0) >> 8;
        std::uint32_t s1 = (a[1] * w0) >> 8;
        std::uint32_t s2 = (a[2] * w0) >> 8;
        for (const std::uint8_t* k = a + 3; k < p + 3 * last; k += 3) {
          s0 += k[0];
          s1 += k[1];
          s2 += k[2];
        }
        if (const std::uint32_t w1 = t.frac[r + 1]) {
          const std::uint8_t* b = p + 3 * last;
          s0 += (b[0] * w1) >> 8;
          s1 += (b[1] * w1) >> 8;
          s2 += (b[2] * w1) >> 8;
        }
        out[0] = divide[s0];
        out[1] = divide[s1];
        out[2] = divide[s2];
      }
    }
    return true;
  });
}

bool ResampleVertical(const WorkPicture& source, WorkPicture& destination) {
  if (!Is24(source) || !Is24(destination) || destination.Width() != source.Width()) return false;
  if (&source == &destination) return true;  // same height: the identity
  const int n = source.Height();
  const int m = destination.Height();
  CellTable t;
  if (!BuildCellTable(n, m, t)) return false;
  std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(n));
  for (int y = 0; y < n; ++y) rows[y] = source.Row(y);
  const std::size_t bytes = source.RowBytes();
  const std::uint8_t* divide = t.divide.data();
  return ForRowRanges(m, 16, [&](int r0, int r1) {
    std::vector<std::uint32_t> sum(bytes);
    for (int r = r0; r < r1; ++r) {
      const int first = t.pos[r];
      const int last = t.pos[r + 1];
      const std::uint32_t w0 = 256 - t.frac[r];
      const std::uint8_t* a = rows[first];
      for (std::size_t c = 0; c < bytes; ++c) sum[c] = (a[c] * w0) >> 8;
      for (int k = first + 1; k < last; ++k) {
        const std::uint8_t* row = rows[k];
        for (std::size_t c = 0; c < bytes; ++c) sum[c] += row[c];
      }
      if (const std::uint32_t w1 = t.frac[r + 1]) {
        const std::uint8_t* b = rows[last];
        for (std::size_t c = 0; c < bytes; ++c) sum[c] += (b[c] * w1) >> 8;
      }
      std::uint8_t* out = destination.Row(r);
      for (std::size_t c = 0; c < bytes; ++c) out[c] = divide[sum[c]];
    }
    return true;
  });
}

bool ShrinkFit(const WorkPicture& source, WorkPicture& destination, int boxWidth, int boxHeight) {
  if (!Is24(source)) return false;
  if (&source != &destination && !destination.CopyFrom(source)) return false;
  const int width = destination.Width();
  const int height = destination.Height();
  if (width < boxWidth && height < boxHeight) return true;
  int w = 0, h = 0;
  if (!FitSize(width, height, boxWidth, boxHeight, w, h)) return false;
  WorkPicture temporary;
  if (!temporary.SetSize(w, height) || !ResampleHorizontal(destination, temporary)) return false;
  if (!destination.SetSize(w, h) || !ResampleVertical(temporary, destination)) {
    destination.Clear();
    return false;
  }
  return true;
}

}  // namespace vantilo
