// Windows bitmap files, read by our own code. Every header field is checked
// before use; any inconsistency is a failed load, never an access outside
// the file or the picture.
#include <climits>
#include <cstring>

#include "picture/load_picture.h"

namespace vantilo {

namespace {

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t size() const { return size_; }
  const std::uint8_t* at(std::size_t offset) const { return data_ + offset; }
  bool Has(std::uint64_t offset, std::uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  std::uint32_t U16(std::size_t o) const { return data_[o] | data_[o + 1] << 8; }
  std::uint32_t U32(std::size_t o) const {
    return static_cast<std::uint32_t>(data_[o]) | static_cast<std::uint32_t>(data_[o + 1]) << 8 |
           static_cast<std::uint32_t>(data_[o + 2]) << 16 |
           static_cast<std::uint32_t>(data_[o + 3]) << 24;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

struct Header {
  std::uint32_t pixelOffset = 0;
  std::uint32_t headerSize = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: rows stored top-down
  std::uint32_t planes = 0;
  std::uint32_t bitCount = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t imageSize = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue
  std::size_t paletteStart = 0;
  std::size_t paletteEntry = 4;
  std::uint32_t paletteCount = 0;
};

struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

bool MakeChannel(std::uint32_t mask, Channel& c) {
  if (mask == 0) return false;
  c.mask = mask;
  c.shift = 0;
  while (!(mask & 1)) {
    mask >>= 1;
    ++c.shift;
  }
  c.bits = 0;
  while (mask & 1) {
    mask >>= 1;
    ++c.bits;
  }
  return mask == 0;  // bits of one channel must be contiguous
}

std::uint8_t Expand(std::uint32_t pixel, const Channel& c) {
  std::uint32_t x = (pixel & c.mask) >> c.shift;
  if (c.bits >= 8) return static_cast<std::uint8_t>(x >> (c.bits - 8));
  // Repeat the bit pattern so that full scale maps to 255.
  std::uint32_t r = 0;
  int filled = 0;
  while (filled < 8) {
    r = r << c.bits | x;
    filled += c.bits;
  }
  return static_cast<std::uint8_t>(r >> (filled - 8));
}

bool ReadHeader(const Bytes& b, Header& h) {
  if (!b.Has(0, 18) || b.at(0)[0] != 'B' || b.at(0)[1] != 'M') return false;
  h.pixelOffset = b.U32(10);
  h.headerSize = b.U32(14);
  switch (h.headerSize) {
    case 12: case 40: case 52: case 56: case 108: case 124: break;
    default: return false;
  }
  if (!b.Has(14, h.headerSize)) return false;
  if (h.headerSize == 12) {
    h.width = b.U16(18);
    h.height = b.U16(20);
    h.planes = b.U16(22);
    h.bitCount = b.U16(24);
    h.paletteEntry = 3;
    if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 24) return false;
  } else {
    h.width = static_cast<std::int32_t>(b.U32(18));
    h.height = static_cast<std::int32_t>(b.U32(22));
    h.planes = b.U16(26);
    h.bitCount = b.U16(28);
    h.compression = b.U32(30);
    h.imageSize = b.U32(34);
    h.coloursUsed = b.U32(46);
  }
  if (h.planes != 1 || h.width <= 0 || h.height == 0 || h.height == INT_MIN) return false;
  const std::int64_t rows = h.height < 0 ? -h.height : h.height;
  if (h.width * rows > WorkPicture::kMaxPixels) return false;

  switch (h.compression) {
    case kRgb:
      if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8 && h.bitCount != 16 &&
          h.bitCount != 24 && h.bitCount != 32)
        return false;
      break;
    case kRle8:
    case kRle4:
      // Run-length data is always stored bottom-up.
      if (h.bitCount != (h.compression == kRle8 ? 8u : 4u) || h.height < 0) return false;
      break;
    case kBitfields:
      if (h.bitCount != 16 && h.bitCount != 32) return false;
      break;
    default:
      return false;  // embedded JPEG/PNG and other variants
  }

  std::size_t afterHeader = 14 + static_cast<std::size_t>(h.headerSize);
  if (h.compression == kBitfields) {
    std::size_t maskAt = 14 + 40;
    if (h.headerSize == 40) {
      if (!b.Has(maskAt, 12)) return false;
      afterHeader += 12;
    }
    for (int i = 0; i < 3; ++i) h.masks[i] = b.U32(maskAt + 4 * i);
  }
  h.paletteStart = afterHeader;
  if (h.bitCount <= 8) {
    const std::uint32_t most = 1u << h.bitCount;
    if (h.coloursUsed > most) return false;
    h.paletteCount = h.coloursUsed ? h.coloursUsed : most;
    if (!b.Has(h.paletteStart, std::uint64_t{h.paletteCount} * h.paletteEntry)) return false;
  }
  const std::uint64_t paletteEnd = h.paletteStart + std::uint64_t{h.paletteCount} * h.paletteEntry;
  // Pixels start after the headers and palette and inside the file.
  return h.pixelOffset >= paletteEnd && h.pixelOffset < b.size();
}

bool ReadPalette(const Bytes& b, const Header& h, WorkPicture& picture) {
  for (std::uint32_t i = 0; i < h.paletteCount; ++i) {
    const std::uint8_t* e = b.at(h.paletteStart + i * h.paletteEntry);
    picture.Palette()[i] = PaletteEntry{e[0], e[1], e[2]};
  }
  return true;
}

bool ReadUncompressed(const Bytes& b, const Header& h, WorkPicture& picture) {
  const int width = static_cast<int>(h.width);
  const int rows = static_cast<int>(h.height < 0 ? -h.height : h.height);
  const std::uint64_t rowBits = static_cast<std::uint64_t>(h.width) * h.bitCount;
  const std::uint64_t stride = (rowBits + 31) / 32 * 4;
  // The last row's padding is not pixel data; some writers leave it out.
  const std::uint64_t needed = stride * (rows - 1) + (rowBits + 7) / 8;
  if (!b.Has(h.pixelOffset, needed)) return false;

  Channel channels[3];
  const bool masked = h.bitCount == 16 || h.compression == kBitfields;
  if (masked) {
    std::uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
    if (h.compression == kRgb) {  // 16-bit default is 5-5-5
      masks[0] = 0x7C00;
      masks[1] = 0x03E0;
      masks[2] = 0x001F;
    }
    const std::uint32_t allowed = h.bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    for (int i = 0; i < 3; ++i)
      if (!MakeChannel(masks[i], channels[i]) || (masks[i] & ~allowed)) return false;
    if ((masks[0] & masks[1]) || (masks[0] & masks[2]) || (masks[1] & masks[2])) return false;
  }

  const bool indexed = h.bitCount <= 8;
  if (indexed ? !picture.SetIndexedSize(width, rows) : !picture.SetSize(width, rows)) return false;
  if (indexed) ReadPalette(b, h, picture);
  for (int y = 0; y < rows; ++y) {
    const int stored = h.height < 0 ? y : rows - 1 - y;
    const std::uint8_t* in = b.at(h.pixelOffset + stride * static_cast<std::uint64_t>(stored));
    std::uint8_t* out = picture.Row(y);
    switch (h.bitCount) {
      case 1:
        for (int x = 0; x < width; ++x) out[x] = (in[x >> 3] >> (7 - (x & 7))) & 1;
        break;
      case 4:
        for (int x = 0; x < width; ++x) out[x] = (in[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
        break;
      case 8:
        std::memcpy(out, in, static_cast<std::size_t>(width));
        break;
      case 24:
        std::memcpy(out, in, static_cast<std::size_t>(width) * 3);
        break;
      default:
        for (int x = 0; x < width; ++x, out += 3) {
          std::uint32_t pixel;
          if (h.bitCount == 16) {
            pixel = b.U16(h.pixelOffset + stride * stored + 2 * static_cast<std::uint64_t>(x));
          } else {
            pixel = b.U32(h.pixelOffset + stride * stored + 4 * static_cast<std::uint64_t>(x));
          }
          if (!masked) {  // 32-bit default: blue, green, red, unused
            out[0] = static_cast<std::uint8_t>(pixel);
            out[1] = static_cast<std::uint8_t>(pixel >> 8);
            out[2] = static_cast<std::uint8_t>(pixel >> 16);
          } else {
            out[0] = Expand(pixel, channels[2]);
            out[1] = Expand(pixel, channels[1]);
            out[2] = Expand(pixel, channels[0]);
          }
        }
    }
  }
  return true;
}

// RLE8 and RLE4: runs and absolute blocks must stay inside their row,
// deltas inside the picture, and the data must reach an end marker or fill
// every row. Pixels the data skips keep palette index 0.
bool ReadRunLength(const Bytes& b, const Header& h, WorkPicture& picture) {
  const int width = static_cast<int>(h.width);
  const int rows = static_cast<int>(h.height);
  const bool four = h.compression == kRle4;
  std::uint64_t end = b.size();
  if (h.imageSize != 0 && std::uint64_t{h.pixelOffset} + h.imageSize < end)
    end = std::uint64_t{h.pixelOffset} + h.imageSize;
  if (!picture.SetIndexedSize(width, rows)) return false;
  ReadPalette(b, h, picture);
  std::uint64_t i = h.pixelOffset;
  std::int64_t x = 0, y = 0;  // y counts from the bottom row
  for (;;) {
    if (i + 2 > end) return y >= rows;  // data ends: fine only when complete
    const std::uint32_t count = *b.at(i);
    const std::uint32_t code = *b.at(i + 1);
    i += 2;
    if (count > 0) {
      if (y >= rows || x + count > width) return false;
      std::uint8_t* out = picture.Row(static_cast<int>(rows - 1 - y)) + x;
      for (std::uint32_t k = 0; k < count; ++k)
        out[k] = four ? ((k & 1) ? code & 15 : code >> 4) : static_cast<std::uint8_t>(code);
      x += count;
      continue;
    }
    switch (code) {
      case 0:  // end of line
        x = 0;
        if (++y > rows) return false;
        break;
      case 1:  // end of bitmap
        return true;
      case 2:  // delta
        if (i + 2 > end) return false;
        x += *b.at(i);
        y += *b.at(i + 1);
        i += 2;
        if (x > width || y > rows || (y == rows && x > 0)) return false;
        break;
      default: {  // absolute block of `code` pixels, padded to 16 bits
        const std::uint64_t bytes = four ? (code + 1) / 2 : code;
        const std::uint64_t padded = (bytes + 1) & ~std::uint64_t{1};
        if (y >= rows || x + code > width || i + padded > end) return false;
        std::uint8_t* out = picture.Row(static_cast<int>(rows - 1 - y)) + x;
        const std::uint8_t* in = b.at(static_cast<std::size_t>(i));
        for (std::uint32_t k = 0; k < code; ++k)
          out[k] = four ? ((k & 1) ? in[k / 2] & 15 : in[k / 2] >> 4) : in[k];
        x += code;
        i += padded;
      }
    }
  }
}

}  // namespace

bool DecodeBmp(const std::uint8_t* data, std::size_t size, WorkPicture& picture) {
  picture.Clear();
  if (!data) return false;
  const Bytes b(data, size);
  Header h;
  bool ok = ReadHeader(b, h);
  if (ok) {
    ok = h.compression == kRle8 || h.compression == kRle4 ? ReadRunLength(b, h, picture)
                                                         : ReadUncompressed(b, h, picture);
  }
  if (!ok) picture.Clear();
  return ok;
}

}  // namespace vantilo
