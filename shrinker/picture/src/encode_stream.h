// JPEG encoding of a picture whose rows become final one after another,
// so that the encoders run while the picture is still being made.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "jpeg_rows_out.h"
#include "picture/work_picture.h"

namespace vantilo {

// The size search from quality `from` downwards (100 for the whole search):
// the first quality whose file fits, else quality 1.
bool EncodeJpegWithinSizeFrom(const WorkPicture& picture, const JpegOptions& options, std::int64_t targetBytes,
                              int from, SizedJpeg& result);

class EncodeStream {
 public:
  // targetBytes below 0: one file at options.quality. Else the size search,
  // whose first candidates (100, 99, ...) encode while rows arrive; a
  // candidate whose file already exceeds the target gives way to the next
  // quality, which catches up on the rows so far. All on the calling thread,
  // so that the decoder keeps a core of its own.
  bool Start(const WorkPicture& picture, const JpegOptions& options, std::int64_t targetBytes);
  // Rows [0, finalRows) of the picture are final.
  bool Advance(int finalRows);
  // Every row is final: the file, and the quality it was made at.
  bool Finish(std::vector<std::uint8_t>& out, int& quality);

  // How many size candidates encode at the same time: few, since every one
  // below the answer is wasted work.
  static constexpr int kLiveCandidates = 3;

 private:
  struct Candidate {
    int quality = 0;
    std::unique_ptr<JpegRowWriter> writer;
  };
  bool Feed(Candidate& c, int upTo);
  bool StartCandidate(int quality, int upTo);
  bool FeedAll(int upTo);

  const WorkPicture* picture_ = nullptr;
  JpegOptions options_;
  std::int64_t target_ = -1;
  int final_ = 0;
  int nextQuality_ = 100;  // the next candidate to start
  std::vector<Candidate> live_;
  // Finished candidates that fit, by quality; the best one is kept.
  int bestFit_ = 0;
  std::vector<std::uint8_t> bestBytes_;
  std::vector<std::uint8_t> lowestBytes_;  // quality 1's file, the last resort
};

}  // namespace vantilo
