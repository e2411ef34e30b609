#include "picture_passes.h"

#include <cstring>

#include "picture/filters.h"

namespace vantilo {

bool PicturePasses::Start(int width, int height, const ShrinkOptions& options, const Saturator* saturator,
                          Saturator::Cache* colours) {
  options_ = options;
  sourceWidth_ = width;
  sourceHeight_ = height;
  produced_ = sharpened_ = 0;
  ok_ = false;
  saturator_ = saturator;
  colours_ = colours;
  if (options.saturation && (!saturator_ || !saturator_->Ok() || !colours_)) return false;
  // As ShrinkFit: a picture inside the box keeps its size and bytes.
  if (width < options.boxWidth && height < options.boxHeight) {
    width_ = width;
    height_ = height;
  } else if (!FitSize(width, height, options.boxWidth, options.boxHeight, width_, height_)) {
    return false;
  }
  resizeRows_ = width_ != width;
  resizeColumns_ = height_ != height;
  if (resizeRows_ && !rows_.Init(width, width_)) return false;
  if (resizeColumns_ && !columns_.Init(height, height_, 3 * static_cast<std::size_t>(width_))) return false;
  if (!shrunk_.SetSize(width_, height_)) return false;
  if (options.sharpen) sharpen_ = std::make_unique<SharpenMemo>(options.strength);
  ok_ = encoder_.Start(shrunk_, options.jpeg, options.targetBytes);
  return ok_;
}

void PicturePasses::PrepareRow(std::uint8_t* row, std::uint8_t* out, Scratch& scratch) const {
  if (options_.saturation) saturator_->Row(row, sourceWidth_, *colours_);
  if (!resizeRows_) {
    std::memcpy(out, row, 3 * static_cast<std::size_t>(width_));
    return;
  }
  if (scratch.sums.size() < rows_.ScratchSize()) scratch.sums.resize(rows_.ScratchSize());
  rows_.Row(row, out, scratch.sums.data());
}

bool PicturePasses::Push(const std::uint8_t* prepared) {
  if (!ok_) return false;
  if (!resizeColumns_) {
    std::memcpy(shrunk_.Row(produced_), prepared, shrunk_.RowBytes());
    ++produced_;
  } else {
    produced_ += columns_.Push(prepared, [this](int r) { return shrunk_.Row(r); });
  }
  // A row is sharpened once the row below it exists; the last row at the end.
  while (ok_ && sharpened_ < produced_ - 1) ok_ = RowFinal(sharpened_++);
  return ok_;
}

bool PicturePasses::RowFinal(int r) {
  if (sharpen_) {
    std::uint8_t* cur = shrunk_.Row(r);
    const std::uint8_t* up = r > 0 ? shrunk_.Row(r - 1) : cur;
    const std::uint8_t* down = r + 1 < height_ ? shrunk_.Row(r + 1) : cur;
    SharpenRow(*sharpen_, up, cur, down, cur, static_cast<int>(shrunk_.RowBytes()));
  }
  return encoder_.Advance(r + 1);
}

bool PicturePasses::Finish(ShrinkResult& result) {
  if (!ok_ || produced_ != height_) return false;
  while (ok_ && sharpened_ < produced_) ok_ = RowFinal(sharpened_++);
  return ok_ && encoder_.Finish(result.jpeg, result.quality);
}

}  // namespace vantilo
