// Box fitting and the two area-averaging passes.
#include <cmath>
#include <cstdint>
#include <vector>

#include "extended_precision.h"
#include "parallel_rows.h"
#include "picture/filters.h"
#include "resample_kernels.h"

namespace vantilo {

namespace {

bool Is24(const WorkPicture& p) { return p.Format() == PixelFormat::Bgr24; }

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
  RowShrinker shrinker;
  const bool shrinking = Shrinks(t) && shrinker.Init(n, m);

  return ForRowRanges(source.Height(), 32, [&](int y0, int y1) {
    std::vector<std::uint32_t> sums(shrinking ? shrinker.ScratchSize() : 0);
    for (int y = y0; y < y1; ++y) {
      const std::uint8_t* p = source.Row(y);
      std::uint8_t* out = destination.Row(y);
      if (shrinking) {
        shrinker.Row(p, out, sums.data());
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
