#include "encode_stream.h"

#include <algorithm>
#include <new>

namespace vantilo {

bool EncodeStream::Start(const WorkPicture& picture, const JpegOptions& options, std::int64_t targetBytes) {
  picture_ = &picture;
  options_ = options;
  target_ = targetBytes;
  final_ = 0;
  live_.clear();
  bestFit_ = 0;
  if (target_ < 0) return StartCandidate(options_.quality, 0);
  nextQuality_ = 100;
  for (int i = 0; i < kLiveCandidates && nextQuality_ >= 1; ++i)
    if (!StartCandidate(nextQuality_--, 0)) return false;
  return true;
}

bool EncodeStream::StartCandidate(int quality, int upTo) {
  try {
    Candidate c;
    c.quality = quality;
    c.writer = std::make_unique<JpegRowWriter>();
    JpegOptions o = options_;
    o.quality = quality;
    if (!c.writer->Start(picture_->Width(), picture_->Height(), o) || !Feed(c, upTo)) return false;
    live_.push_back(std::move(c));
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool EncodeStream::Feed(Candidate& c, int upTo) {
  const std::uint8_t* rows[16];
  while (c.writer->RowsWritten() < upTo) {
    const int first = c.writer->RowsWritten();
    const int count = std::min(upTo - first, 16);
    for (int i = 0; i < count; ++i) rows[i] = picture_->Row(first + i);
    if (!c.writer->Write(rows, count)) return false;
  }
  return true;
}

bool EncodeStream::Advance(int finalRows) {
  final_ = finalRows;
  // The size candidates take rows a band at a time.
  if (target_ < 0 || final_ % 16 == 0 || final_ == picture_->Height()) return FeedAll(final_);
  return true;
}

bool EncodeStream::FeedAll(int upTo) {
  for (std::size_t i = 0; i < live_.size(); ++i) {
    if (!Feed(live_[i], upTo)) return false;
    // Too large already: this quality cannot be the answer. Quality 1 is
    // kept to the end, as it is written when nothing fits.
    if (target_ >= 0 && live_[i].quality > 1 &&
        static_cast<std::int64_t>(live_[i].writer->BytesSoFar()) > target_) {
      live_.erase(live_.begin() + static_cast<std::ptrdiff_t>(i));
      --i;
      if (nextQuality_ >= 1 && !StartCandidate(nextQuality_--, upTo)) return false;
    }
  }
  return true;
}

bool EncodeStream::Finish(std::vector<std::uint8_t>& out, int& quality) {
  out.clear();
  if (!Advance(picture_->Height())) return false;
  // Candidates still live all reached the end; every quality above the
  // lowest one started was either too large or is among them.
  for (Candidate& c : live_) {
    if (!c.writer->Finish()) return false;
    const bool fits = target_ < 0 || static_cast<std::int64_t>(c.writer->BytesSoFar()) <= target_;
    if (fits && c.quality > bestFit_) {
      bestFit_ = c.quality;
      bestBytes_ = c.writer->Take();
    }
    if (c.quality == 1) lowestBytes_ = c.writer->Take();
  }
  live_.clear();
  if (bestFit_ > 0) {
    quality = bestFit_;
    out.swap(bestBytes_);
    return true;
  }
  if (nextQuality_ < 1) {  // all tried: quality 1 is written though too large
    quality = 1;
    out.swap(lowestBytes_);
    return !out.empty();
  }
  SizedJpeg rest;
  if (!EncodeJpegWithinSizeFrom(*picture_, options_, target_, nextQuality_, rest)) return false;
  quality = rest.quality;
  out.swap(rest.bytes);
  return true;
}

}  // namespace vantilo
