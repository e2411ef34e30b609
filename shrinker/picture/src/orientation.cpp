#include "picture/orientation.h"

#include <cstring>
#include <utility>

namespace vantilo {

namespace {

// Bounds-checked reads of the TIFF structure in either byte order.
class TiffReader {
 public:
  TiffReader(const std::uint8_t* data, std::size_t size, bool bigEndian)
      : data_(data), size_(size), big_(bigEndian) {}

  bool U16(std::size_t at, unsigned& v) const {
    if (at > size_ || size_ - at < 2) return false;
    v = big_ ? (data_[at] << 8 | data_[at + 1]) : (data_[at + 1] << 8 | data_[at]);
    return true;
  }
  bool U32(std::size_t at, std::uint32_t& v) const {
    unsigned hi = 0, lo = 0;
    if (!U16(at, big_ ? hi : lo) || !U16(at + 2, big_ ? lo : hi)) return false;
    v = static_cast<std::uint32_t>(hi) << 16 | lo;
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  bool big_;
};

constexpr unsigned kOrientationTag = 0x0112;
constexpr unsigned kShort = 3;

// Orientation from a TIFF block (the part after "Exif\0\0").
int OrientationOfTiff(const std::uint8_t* tiff, std::size_t size) {
  if (size < 8) return 1;
  bool big;
  if (tiff[0] == 'I' && tiff[1] == 'I') big = false;
  else if (tiff[0] == 'M' && tiff[1] == 'M') big = true;
  else return 1;
  const TiffReader r(tiff, size, big);
  unsigned magic = 0, count = 0;
  std::uint32_t ifd = 0;
  if (!r.U16(2, magic) || magic != 42 || !r.U32(4, ifd) || !r.U16(ifd, count)) return 1;
  // A directory cut short, up to its next-directory link, is a broken block.
  if (std::uint64_t{ifd} + 2 + 12 * std::uint64_t{count} + 4 > size) return 1;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t entry = static_cast<std::size_t>(ifd) + 2 + 12 * static_cast<std::size_t>(i);
    unsigned tag = 0, type = 0, value = 0;
    std::uint32_t n = 0;
    if (!r.U16(entry, tag) || !r.U16(entry + 2, type) || !r.U32(entry + 4, n)) return 1;
    if (tag != kOrientationTag) continue;
    if (type != kShort || n != 1 || !r.U16(entry + 8, value)) return 1;
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
  }
  return 1;
}

}  // namespace

int ExifOrientation(const std::uint8_t* data, std::size_t size) {
  if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8) return 1;
  std::size_t at = 2;
  // Marker segments up to the first scan; the EXIF block is an APP1 segment.
  while (at + 4 <= size) {
    if (data[at] != 0xFF) return 1;
    const std::uint8_t marker = data[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return 1;  // scan or end: no more headers
    const std::size_t length = static_cast<std::size_t>(data[at + 2]) << 8 | data[at + 3];
    if (length < 2 || size - (at + 2) < length) return 1;
    const std::uint8_t* body = data + at + 4;
    const std::size_t bodySize = length - 2;
    if (marker == 0xE1 && bodySize >= 6 && std::memcmp(body, "Exif\0\0", 6) == 0)
      return OrientationOfTiff(body + 6, bodySize - 6);
    at += 2 + length;
  }
  return 1;
}

bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

StoredPoint StoredPointOf(int orientation, int w, int h, int x, int y) {
  switch (orientation) {
    case 2: return {w - 1 - x, y};
    case 3: return {w - 1 - x, h - 1 - y};
    case 4: return {x, h - 1 - y};
    case 5: return {y, x};
    case 6: return {y, h - 1 - x};
    case 7: return {w - 1 - y, h - 1 - x};
    case 8: return {w - 1 - y, x};
    default: return {x, y};
  }
}

bool TurnUpright(WorkPicture& picture, int orientation) {
  const bool indexed = picture.Format() == PixelFormat::Indexed8;
  if (!indexed && picture.Format() != PixelFormat::Bgr24) return false;
  if (orientation < 2 || orientation > 8) return true;
  const int w = picture.Width(), h = picture.Height();
  const bool swap = SwapsSides(orientation);
  WorkPicture upright;
  if (!(indexed ? upright.SetIndexedSize(swap ? h : w, swap ? w : h) : upright.SetSize(swap ? h : w, swap ? w : h)))
    return false;
  upright.Palette() = picture.Palette();
  const std::size_t bpp = picture.BytesPerPixel();
  const int uw = upright.Width(), uh = upright.Height();
  // Walk the upright picture in tiles so that both sides stay in cache when
  // a column of one is a row of the other.
  constexpr int kTile = 64;
  for (int y0 = 0; y0 < uh; y0 += kTile) {
    for (int x0 = 0; x0 < uw; x0 += kTile) {
      const int y1 = y0 + kTile < uh ? y0 + kTile : uh;
      const int x1 = x0 + kTile < uw ? x0 + kTile : uw;
      for (int y = y0; y < y1; ++y) {
        std::uint8_t* out = upright.Row(y) + bpp * x0;
        for (int x = x0; x < x1; ++x, out += bpp) {
          const StoredPoint p = StoredPointOf(orientation, w, h, x, y);
          std::memcpy(out, picture.Row(p.y) + bpp * p.x, bpp);
        }
      }
    }
  }
  picture = std::move(upright);
  return true;
}

}  // namespace vantilo
