// The passes of one picture over its rows as they arrive: saturation and
// the horizontal pass row by row (any thread), then in row order the
// vertical pass, sharpening a row as soon as the row below exists, and the
// encoders on every row that is final.
#pragma once

#include <cstdint>
#include <vector>

#include "encode_stream.h"
#include "picture/shrink_engine.h"
#include "resample_kernels.h"
#include "saturation.h"
#include "sharpen_kernel.h"

namespace vantilo {

class PicturePasses {
 public:
  // False when the fitted picture would have a side of 0, or on no memory.
  // The saturator (amount 140) and its cache, which every thread that runs
  // PrepareRow shares, are needed only with options.saturation.
  bool Start(int width, int height, const ShrinkOptions& options, const Saturator* saturator,
             Saturator::Cache* colours);
  int OutputWidth() const { return width_; }

  // Per-thread memory of PrepareRow.
  struct Scratch {
    std::vector<std::uint32_t> sums;
  };
  // Saturation (in place) and the horizontal pass of one source row into
  // out (OutputWidth() pixels). Rows are independent; needs 64-bit x87
  // precision on the calling thread.
  void PrepareRow(std::uint8_t* row, std::uint8_t* out, Scratch& scratch) const;
  // The next prepared row, top to bottom.
  bool Push(const std::uint8_t* prepared);
  bool Finish(ShrinkResult& result);

 private:
  bool RowFinal(int r);

  ShrinkOptions options_;
  int sourceWidth_ = 0, sourceHeight_ = 0, width_ = 0, height_ = 0;
  bool resizeRows_ = false, resizeColumns_ = false;
  RowShrinker rows_;
  ColumnShrinker columns_;
  const Saturator* saturator_ = nullptr;
  Saturator::Cache* colours_ = nullptr;
  std::unique_ptr<SharpenMemo> sharpen_;
  WorkPicture shrunk_;
  int produced_ = 0;  // rows of shrunk_ written by the vertical pass
  int sharpened_ = 0;
  EncodeStream encoder_;
  bool ok_ = true;
};

}  // namespace vantilo
