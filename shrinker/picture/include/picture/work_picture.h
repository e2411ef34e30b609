// The shrinker's one working picture.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantilo {

// Palette entries are kept in the same blue, green, red order as pixels.
struct PaletteEntry {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
};

enum class PixelFormat {
  None,      // empty picture (0 x 0)
  Indexed8,  // one byte per pixel into a 256-entry palette
  Bgr24,     // three bytes per pixel: blue, green, red
};

// Rows are contiguous, row 0 is the top row, no padding between rows.
// Decoders may leave an Indexed8 picture; ConvertTo24Bits makes it Bgr24,
// which every filter and the encoder require.
class WorkPicture {
 public:
  // Loaders refuse pictures with more pixels than this, so a hostile header
  // cannot demand gigabytes; it also keeps every filter sum within 32 bits.
  static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

  WorkPicture() = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  PixelFormat Format() const { return format_; }
  bool Empty() const { return format_ == PixelFormat::None; }

  // Bgr24 of the given size, content undefined. False (and the picture left
  // empty) for negative or zero sides, more than kMaxPixels, or no memory.
  bool SetSize(int width, int height);
  // Indexed8 of the given size; the palette is all black until written.
  bool SetIndexedSize(int width, int height);
  // Drops pixels and palette.
  void Clear();

  bool CopyFrom(const WorkPicture& other);
  // Expands an Indexed8 picture through its palette; Bgr24 stays as it is.
  bool ConvertTo24Bits();

  std::size_t BytesPerPixel() const;
  std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * BytesPerPixel(); }
  std::uint8_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * RowBytes(); }
  const std::uint8_t* Row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * RowBytes();
  }

  // Always 256 entries so that any index byte stays inside it.
  std::array<PaletteEntry, 256>& Palette() { return palette_; }
  const std::array<PaletteEntry, 256>& Palette() const { return palette_; }

 private:
  bool Allocate(int width, int height, PixelFormat format);

  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::None;
  std::vector<std::uint8_t> pixels_;
  std::array<PaletteEntry, 256> palette_{};
};

}  // namespace vantilo
