// Row kernels of the two area-averaging passes.
#include "resample_kernels.h"

#include <emmintrin.h>

#include <algorithm>
#include <cmath>

#include "extended_precision.h"

namespace vantilo {

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


bool Shrinks(const CellTable& t) {
  const std::size_t m = t.pos.size() - 1;
  for (std::size_t r = 0; r < m; ++r)
    if (t.pos[r + 1] <= t.pos[r]) return false;
  return true;
}

namespace {

// Every cell covers at least its first pixel's end: the whole pixels of a
// cell are the difference of two running sums, so a cell costs the same
// whatever its width. Same integers as summing them one by one.
void ShrinkRow(const std::uint8_t* p, int n, std::uint8_t* out, const CellTable& t,
               const int* first, const int* whole, const int* end, const int* tail,
               std::uint32_t* sums) {
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
  const std::size_t m = t.pos.size() - 1;
  for (std::size_t r = 0; r < m; ++r, out += 3) {
    const std::uint32_t w0 = 256 - t.frac[r];
    const std::uint32_t w1 = t.frac[r + 1];
    const std::uint8_t* a = p + first[r];
    const std::uint8_t* b = p + tail[r];
    const std::uint32_t* hi = sums + end[r];
    const std::uint32_t* lo = sums + whole[r];
    out[0] = t.divide[((a[0] * w0) >> 8) + (hi[0] - lo[0]) + ((b[0] * w1) >> 8)];
    out[1] = t.divide[((a[1] * w0) >> 8) + (hi[1] - lo[1]) + ((b[1] * w1) >> 8)];
    out[2] = t.divide[((a[2] * w0) >> 8) + (hi[2] - lo[2]) + ((b[2] * w1) >> 8)];
  }
}


}  // namespace

bool RowShrinker::Init(int n, int m) {
  n_ = n;
  m_ = m;
  if (!BuildCellTable(n, m, t_) || !Shrinks(t_)) return false;
  first_.clear();
  whole_.clear();
  end_.clear();
  tail_.clear();
  for (int r = 0; r < m; ++r) {
    first_.push_back(3 * t_.pos[r]);
    whole_.push_back(3 * (t_.pos[r] + 1));
    end_.push_back(3 * t_.pos[r + 1]);
    // A weight of 0 reads nothing that matters; keep the address inside.
    tail_.push_back(3 * (t_.frac[r + 1] ? t_.pos[r + 1] : t_.pos[r]));
  }
  narrow_ = true;
  for (int r = 0; r < m && narrow_; ++r) narrow_ = t_.pos[r + 1] - t_.pos[r] <= 4;
  if (narrow_) {
    weights_.assign(16 * static_cast<std::size_t>(m), 0);
    vectorCells_ = 0;
    for (int r = 0; r < m; ++r) {
      std::uint16_t* w = weights_.data() + 16 * static_cast<std::size_t>(r);
      const int pixels = t_.pos[r + 1] - t_.pos[r];
      for (int k = 0; k <= pixels && k < 5; ++k) {
        const int weight = k == 0 ? 256 - t_.frac[r] : k == pixels ? t_.frac[r + 1] : 256;
        w[3 * k] = w[3 * k + 1] = w[3 * k + 2] = static_cast<std::uint16_t>(weight);
      }
      if (3 * t_.pos[r] + 16 <= 3 * n) vectorCells_ = r + 1;
    }
  }
  return true;
}

// Per cell: the sixteen bytes from its first pixel, each weighted and
// floored as the formula does ((p * w) >> 8, whole pixels with 256), then
// the five pixels folded onto the first: byte 8 belongs with byte 2, bytes
// 9..14 with 0..5, and the pixels at 3 and 6 with the one at 0.
void RowShrinker::NarrowCells(const std::uint8_t* in, std::uint8_t* out) const {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lane0 = _mm_setr_epi16(-1, 0, 0, 0, 0, 0, 0, 0);
  const std::uint8_t* divide = t_.divide.data();
  const __m128i* w = reinterpret_cast<const __m128i*>(weights_.data());
  int r = 0;
  for (; r < vectorCells_; ++r, out += 3, w += 2) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * t_.pos[r]));
    const __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), _mm_loadu_si128(w)), 8);
    const __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), _mm_loadu_si128(w + 1)), 8);
    const __m128i x = _mm_add_epi16(_mm_add_epi16(lo, _mm_srli_si128(hi, 2)), _mm_slli_si128(_mm_and_si128(hi, lane0), 4));
    const __m128i y = _mm_add_epi16(_mm_add_epi16(x, _mm_srli_si128(x, 6)), _mm_srli_si128(x, 12));
    const std::uint32_t s01 = static_cast<std::uint32_t>(_mm_cvtsi128_si32(y));
    out[0] = divide[s01 & 0xFFFF];
    out[1] = divide[s01 >> 16];
    out[2] = divide[_mm_extract_epi16(y, 2)];
  }
  for (; r < m_; ++r, out += 3) {
    const std::uint32_t w0 = 256 - t_.frac[r], w1 = t_.frac[r + 1];
    for (int c = 0; c < 3; ++c) {
      std::uint32_t sum = (in[first_[r] + c] * w0) >> 8;
      for (int k = whole_[r]; k < end_[r]; k += 3) sum += in[k + c];
      if (w1) sum += (in[end_[r] + c] * w1) >> 8;
      out[c] = divide[sum];
    }
  }
}

void RowShrinker::Row(const std::uint8_t* in, std::uint8_t* out, std::uint32_t* scratch) const {
  if (narrow_) {
    NarrowCells(in, out);
    return;
  }
  ShrinkRow(in, n_, out, t_, first_.data(), whole_.data(), end_.data(), tail_.data(), scratch);
}

bool ColumnShrinker::Init(int n, int m, std::size_t bytes) {
  n_ = n;
  m_ = m;
  k_ = 0;
  r_ = 0;
  bytes_ = bytes;
  if (!BuildCellTable(n, m, t_) || !Shrinks(t_)) return false;
  acc_.assign((bytes + 15) / 16 * 16, 0);  // whole vectors
  return true;
}

// Sixteen samples at a time: bytes widened to 16 bits (a weighted byte,
// at most 255 * 256, still fits), floored by the shift, then to 32 bits.
namespace {
inline void Accumulate(std::uint32_t* acc, __m128i lo16, __m128i hi16, bool replace) {
  const __m128i zero = _mm_setzero_si128();
  __m128i* a = reinterpret_cast<__m128i*>(acc);
  const __m128i v0 = _mm_unpacklo_epi16(lo16, zero), v1 = _mm_unpackhi_epi16(lo16, zero);
  const __m128i v2 = _mm_unpacklo_epi16(hi16, zero), v3 = _mm_unpackhi_epi16(hi16, zero);
  if (replace) {
    _mm_storeu_si128(a, v0);
    _mm_storeu_si128(a + 1, v1);
    _mm_storeu_si128(a + 2, v2);
    _mm_storeu_si128(a + 3, v3);
  } else {
    _mm_storeu_si128(a, _mm_add_epi32(_mm_loadu_si128(a), v0));
    _mm_storeu_si128(a + 1, _mm_add_epi32(_mm_loadu_si128(a + 1), v1));
    _mm_storeu_si128(a + 2, _mm_add_epi32(_mm_loadu_si128(a + 2), v2));
    _mm_storeu_si128(a + 3, _mm_add_epi32(_mm_loadu_si128(a + 3), v3));
  }
}

void Weighted(std::uint32_t* acc, const std::uint8_t* row, std::size_t bytes, std::uint32_t weight, bool replace) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i w = _mm_set1_epi16(static_cast<short>(weight));
  std::size_t c = 0;
  for (; c + 16 <= bytes; c += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + c));
    const __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), w), 8);
    const __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), w), 8);
    Accumulate(acc + c, lo, hi, replace);
  }
  for (; c < bytes; ++c) acc[c] = (replace ? 0 : acc[c]) + ((row[c] * weight) >> 8);
}
}  // namespace

void ColumnShrinker::Start(const std::uint8_t* row, std::uint32_t weight) {
  Weighted(acc_.data(), row, bytes_, weight, true);
}

void ColumnShrinker::AddPart(const std::uint8_t* row, std::uint32_t weight) {
  Weighted(acc_.data(), row, bytes_, weight, false);
}

void ColumnShrinker::Add(const std::uint8_t* row) {
  const __m128i zero = _mm_setzero_si128();
  std::size_t c = 0;
  for (; c + 16 <= bytes_; c += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + c));
    Accumulate(acc_.data() + c, _mm_unpacklo_epi8(v, zero), _mm_unpackhi_epi8(v, zero), false);
  }
  for (; c < bytes_; ++c) acc_[c] += row[c];
}

void ColumnShrinker::Emit(std::uint8_t* out) const {
  const std::uint8_t* divide = t_.divide.data();
  for (std::size_t c = 0; c < bytes_; ++c) out[c] = divide[acc_[c]];
}

}  // namespace vantilo
