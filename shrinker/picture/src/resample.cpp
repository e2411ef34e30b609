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

// One row where every cell covers at least its first pixel's end: the
// whole pixels of a cell are the difference of two running sums, so a cell
// costs the same whatever its width. Same integers as summing them one by
// one.
struct CellSpans {
  std::vector<int> first;  // byte index of the cell's first pixel
  std::vector<int> whole;  // byte index of its first whole pixel
  std::vector<int> end;    // byte index of its last pixel (one past the whole ones)
  std::vector<int> tail;   // byte index read with weight `frac`, in the row always
};

void ShrinkRow(const std::uint8_t* p, int n, std::uint8_t* out, const CellTable& t,
               const CellSpans& c, std::uint32_t* sums) {
  std::uint32_t s0 = 0, s1 = 0, s2 = 0;  // running sums kept in registers
  for (int k = 0; k < 3 * n; k += 3) {
    sums[k] = s0;
    sums[k + 1] = s1;
    sums[k + 2] = s2;
    s0 += p[k];
    s1 += p[k + 1];
    s2 += p[k + 2];
  }
  sums[3 * n] = s0;
  sums[3 * n + 1] = s1;
  sums[3 * n + 2] = s2;
  const std::size_t m = c.first.size();
  for (std::size_t r = 0; r < m; ++r, out += 3) {
    const std::uint32_t w0 = 256 - t.frac[r];
    const std::uint32_t w1 = t.frac[r + 1];
    const std::uint8_t* a = p + c.first[r];
    const std::uint8_t* b = p + c.tail[r];
    const std::uint32_t* hi = sums + c.end[r];
    const std::uint32_t* lo = sums + c.whole[r];
    out[0] = t.divide[((a[0] * w0) >> 8) + (hi[0] - lo[0]) + ((b[0] * w1) >> 8)];
    out[1] = t.divide[((a[1] * w0) >> 8) + (hi[1] - lo[1]) + ((b[1] * w1) >> 8)];
    out[2] = t.divide[((a[2] * w0) >> 8) + (hi[2] - lo[2]) + ((b[2] * w1) >> 8)];
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

  CellSpans spans;
  bool shrinking = true;
  for (int r = 0; r < m && shrinking; ++r) shrinking = t.pos[r + 1] > t.pos[r];
  if (shrinking) {
    for (int r = 0; r < m; ++r) {
      spans.first.push_back(3 * t.pos[r]);
      spans.whole.push_back(3 * (t.pos[r] + 1));
      spans.end.push_back(3 * t.pos[r + 1]);
      // A weight of 0 reads nothing that matters; keep the address inside.
      spans.tail.push_back(3 * (t.frac[r + 1] ? t.pos[r + 1] : t.pos[r]));
    }
  }

  return ForRowRanges(source.Height(), 32, [&](int y0, int y1) {
    std::vector<std::uint32_t> sums(shrinking ? 3 * (static_cast<std::size_t>(n) + 1) : 0);
    for (int y = y0; y < y1; ++y) {
      const std::uint8_t* p = source.Row(y);
      std::uint8_t* out = destination.Row(y);
      if (shrinking) {
        ShrinkRow(p, n, out, t, spans, sums.data());
        continue;
      }
      // Widening: some cell lies inside one pixel and weighs it twice.
      for (int r = 0; r < m; ++r, out += 3) {
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
