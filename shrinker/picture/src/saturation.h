// The saturation filter one row at a time, for the whole-picture filter
// and for rows streaming out of a decoder.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantilo {

// Everything about one amount that does not depend on the pixel. Row()
// needs 64-bit x87 precision on its thread for the rare extended steps.
class Saturator {
 public:
  explicit Saturator(int amount);
  bool Ok() const { return ok_; }
  // Photographs repeat colours a lot: results are remembered by colour in a
  // cache of kCacheSize entries, which threads may share: an entry is one
  // word holding both its colour's tag and its result, so any entry read is
  // one that some thread wrote whole.
  static constexpr int kCacheBits = 18;
  static constexpr std::size_t kCacheSize = std::size_t{1} << kCacheBits;
  using Cache = std::vector<std::atomic<std::uint32_t>>;  // kCacheSize entries, zero
  // One row of Bgr24 pixels, in place.
  void Row(std::uint8_t* pixels, int width, Cache& cache) const;
  // One pixel, packed as c0 | c1 << 8 | c2 << 16.
  std::uint32_t Pixel(int c0, int c1, int c2) const;

 private:
  int amount_;
  bool ok_ = false;
  std::vector<double> raised_;   // [value * 256 + d]: the raised saturation
  std::vector<std::uint8_t> p_;  // [value * 256 + d]: the p channel
  int sextantI_[360];
  double sextantF_[360];
  double sextantG_[360];  // f where q is needed, 1 - f where t is
};

}  // namespace vantilo
