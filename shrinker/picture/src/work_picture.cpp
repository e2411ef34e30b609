#include "picture/work_picture.h"

#include <new>

namespace vantilo {

std::size_t WorkPicture::BytesPerPixel() const {
  switch (format_) {
    case PixelFormat::Indexed8: return 1;
    case PixelFormat::Bgr24: return 3;
    default: return 0;
  }
}

bool WorkPicture::Allocate(int width, int height, PixelFormat format) {
  Clear();
  if (width <= 0 || height <= 0) return false;
  const std::int64_t pixels = std::int64_t{width} * height;
  if (pixels > kMaxPixels) return false;
  const std::size_t bpp = format == PixelFormat::Bgr24 ? 3 : 1;
  try {
    pixels_.resize(static_cast<std::size_t>(pixels) * bpp);
  } catch (const std::bad_alloc&) {
    pixels_ = {};
    return false;
  }
  width_ = width;
  height_ = height;
  format_ = format;
  return true;
}

bool WorkPicture::SetSize(int width, int height) { return Allocate(width, height, PixelFormat::Bgr24); }

bool WorkPicture::SetIndexedSize(int width, int height) {
  return Allocate(width, height, PixelFormat::Indexed8);
}

void WorkPicture::Clear() {
  width_ = 0;
  height_ = 0;
  format_ = PixelFormat::None;
  pixels_ = {};
  palette_ = {};
}

bool WorkPicture::CopyFrom(const WorkPicture& other) {
  if (&other == this) return true;
  try {
    pixels_ = other.pixels_;
  } catch (const std::bad_alloc&) {
    Clear();
    return false;
  }
  width_ = other.width_;
  height_ = other.height_;
  format_ = other.format_;
  palette_ = other.palette_;
  return true;
}

bool WorkPicture::ConvertTo24Bits() {
  if (format_ == PixelFormat::Bgr24) return true;
  if (format_ != PixelFormat::Indexed8) return false;
  WorkPicture wide;
  if (!wide.SetSize(width_, height_)) return false;
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* in = Row(y);
    std::uint8_t* out = wide.Row(y);
    for (int x = 0; x < width_; ++x) {
      const PaletteEntry& e = palette_[in[x]];
      out[0] = e.blue;
      out[1] = e.green;
      out[2] = e.red;
      out += 3;
    }
  }
  *this = std::move(wide);
  return true;
}

}  // namespace vantilo
