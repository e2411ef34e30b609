// The small copy of a picture that the window shows while it works on it.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/work_picture.h"

namespace vantilo {

// Averages a few samples of every preview cell: cheap enough to run on the
// rows as they are decoded, and never a full-size copy.
class PreviewSampler {
 public:
  // A width x height preview (stretched, as the window shows it) of a
  // sourceWidth x sourceHeight picture; no preview when a side is 0.
  void Start(int sourceWidth, int sourceHeight, int width, int height);
  // Row y of the source, Bgr24; rows may come in any order, each once.
  void Row(int y, const std::uint8_t* pixels);
  // The preview; empty when none was asked for.
  bool Take(WorkPicture& preview);

 private:
  static constexpr int kSamples = 4;  // per side of a cell
  int width_ = 0, height_ = 0;
  std::vector<int> rowCell_;   // preview row a source row is sampled for, or -1
  std::vector<int> columns_;   // kSamples source columns per preview column
  std::vector<std::uint32_t> sums_;
  std::vector<std::uint16_t> counts_;
};

bool MakePreview(const WorkPicture& picture, int width, int height, WorkPicture& preview);

}  // namespace vantilo
