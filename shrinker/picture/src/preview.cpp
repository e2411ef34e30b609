#include "picture/preview.h"

#include <algorithm>

namespace vantilo {

namespace {
// Sample i of k evenly inside [begin, end).
int SampleAt(int begin, int end, int i, int k) {
  return begin + static_cast<int>((static_cast<std::int64_t>(end - begin) * (2 * i + 1)) / (2 * k));
}
// The source span of preview cell c of n over length.
void Span(int length, int n, int c, int& begin, int& end) {
  begin = static_cast<int>(static_cast<std::int64_t>(length) * c / n);
  end = std::max(begin + 1, static_cast<int>(static_cast<std::int64_t>(length) * (c + 1) / n));
  end = std::min(end, length);
  begin = std::min(begin, end - 1);
}
}  // namespace

void PreviewSampler::Start(int sourceWidth, int sourceHeight, int width, int height) {
  width_ = height_ = 0;
  rowCell_.clear();
  columns_.clear();
  if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return;
  width_ = width;
  height_ = height;
  rowCell_.assign(static_cast<std::size_t>(sourceHeight), -1);
  for (int py = 0; py < height; ++py) {
    int begin, end;
    Span(sourceHeight, height, py, begin, end);
    // A source row may be sampled for one cell only; enlarging previews
    // take the nearest row for the others.
    for (int i = 0; i < kSamples; ++i) {
      const int y = SampleAt(begin, end, i, kSamples);
      if (rowCell_[y] < 0) rowCell_[y] = py;
    }
  }
  columns_.resize(static_cast<std::size_t>(width) * kSamples);
  for (int px = 0; px < width; ++px) {
    int begin, end;
    Span(sourceWidth, width, px, begin, end);
    for (int i = 0; i < kSamples; ++i) columns_[px * kSamples + i] = SampleAt(begin, end, i, kSamples);
  }
  sums_.assign(static_cast<std::size_t>(width) * height * 3, 0);
  counts_.assign(static_cast<std::size_t>(height), 0);
}

void PreviewSampler::Row(int y, const std::uint8_t* pixels) {
  if (width_ == 0 || y < 0 || y >= static_cast<int>(rowCell_.size()) || rowCell_[y] < 0) return;
  const int py = rowCell_[y];
  std::uint32_t* sum = sums_.data() + static_cast<std::size_t>(py) * width_ * 3;
  for (int px = 0; px < width_; ++px, sum += 3)
    for (int i = 0; i < kSamples; ++i) {
      const std::uint8_t* p = pixels + 3 * columns_[px * kSamples + i];
      sum[0] += p[0];
      sum[1] += p[1];
      sum[2] += p[2];
    }
  counts_[py] = static_cast<std::uint16_t>(counts_[py] + kSamples);
}

bool PreviewSampler::Take(WorkPicture& preview) {
  preview.Clear();
  if (width_ == 0) return false;
  if (!preview.SetSize(width_, height_)) return false;
  for (int py = 0; py < height_; ++py) {
    // A cell no row was sampled for (more preview rows than source rows)
    // repeats the cell above, or below at the top.
    int from = py;
    while (from > 0 && counts_[from] == 0) --from;
    while (from < height_ - 1 && counts_[from] == 0) ++from;
    const std::uint32_t n = counts_[from] ? counts_[from] : 1;
    const std::uint32_t* sum = sums_.data() + static_cast<std::size_t>(from) * width_ * 3;
    std::uint8_t* out = preview.Row(py);
    for (int i = 0; i < 3 * width_; ++i) out[i] = static_cast<std::uint8_t>((sum[i] + n / 2) / n);
  }
  return true;
}

bool MakePreview(const WorkPicture& picture, int width, int height, WorkPicture& preview) {
  if (picture.Format() != PixelFormat::Bgr24) return false;
  PreviewSampler sampler;
  sampler.Start(picture.Width(), picture.Height(), width, height);
  for (int y = 0; y < picture.Height(); ++y) sampler.Row(y, picture.Row(y));
  return sampler.Take(preview);
}

}  // namespace vantilo
