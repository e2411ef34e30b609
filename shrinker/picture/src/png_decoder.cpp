// PNG reading through libpng: 8-bit colour samples, transparency flattened
// onto white (people expect see-through areas to come out white).
#include <cstring>
#include <new>
#include <vector>

#include <png.h>

#include "picture/load_picture.h"

namespace vantilo {

namespace {

struct MemoryInput {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t offset;
};

extern "C" void PngReadMemory(png_structp png, png_bytep out, png_size_t wanted) {
  auto* in = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (wanted > in->size - in->offset) png_error(png, "truncated");
  std::memcpy(out, in->data + in->offset, wanted);
  in->offset += wanted;
}

extern "C" void SilentError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
extern "C" void SilentWarning(png_structp, png_const_charp) {}

struct PngLayout {
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int channels = 0;  // 3 (blue, green, red) or 4 (with alpha)
  bool interlaced = false;
  png_size_t rowBytes = 0;
};

// Only trivially destructible locals in the two trapped steps: libpng
// errors longjmp back to their setjmp.
bool ReadHeaderTrapped(png_structp png, png_infop info, PngLayout* layout) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int depth = 0, colour = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
  if (std::int64_t{width} * height > WorkPicture::kMaxPixels) return false;
  if (depth == 16) png_set_scale_16(png);
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  layout->width = width;
  layout->height = height;
  layout->channels = png_get_channels(png, info);
  layout->interlaced = passes > 1;
  layout->rowBytes = png_get_rowbytes(png, info);
  return (layout->channels == 3 || layout->channels == 4) && png_get_bit_depth(png, info) == 8 &&
         layout->rowBytes == layout->channels * static_cast<png_size_t>(width);
}

bool ReadRowsTrapped(png_structp png, png_bytepp rows, png_uint_32 count) {
  if (setjmp(png_jmpbuf(png))) return false;
  for (png_uint_32 y = 0; y < count; ++y) png_read_row(png, rows[y], nullptr);
  return true;
}

bool ReadImageTrapped(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  return true;
}

void StoreRow(const std::uint8_t* in, int channels, int width, std::uint8_t* out) {
  if (channels == 3) {
    std::memcpy(out, in, static_cast<std::size_t>(width) * 3);
    return;
  }
  for (int x = 0; x < width; ++x, in += 4, out += 3) {
    const unsigned a = in[3];
    const unsigned white = 255 * (255 - a);
    for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>((in[c] * a + white + 127) / 255);
  }
}

class PngReader {
 public:
  PngReader() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (png_) info_ = png_create_info_struct(png_);
  }
  ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

bool Decode(const std::uint8_t* data, std::size_t size, WorkPicture& picture) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return false;
  PngReader reader;
  if (!reader.png() || !reader.info()) return false;
  MemoryInput input{data, size, 0};
  png_set_read_fn(reader.png(), &input, PngReadMemory);
  // Only pixels matter here: ancillary chunks are skipped unread, and no
  // compressed chunk may inflate beyond a few megabytes.
  png_set_keep_unknown_chunks(reader.png(), PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
  png_set_chunk_malloc_max(reader.png(), 8 << 20);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Let mutated data past the checksums to reach the decoder proper.
  png_set_crc_action(reader.png(), PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
  PngLayout layout;
  if (!ReadHeaderTrapped(reader.png(), reader.info(), &layout)) return false;
  const int width = static_cast<int>(layout.width);
  const int height = static_cast<int>(layout.height);
  if (!picture.SetSize(width, height)) return false;
  if (!layout.interlaced) {
    std::vector<std::uint8_t> row(layout.rowBytes);
    png_bytep rows[1] = {row.data()};
    for (int y = 0; y < height; ++y) {
      if (!ReadRowsTrapped(reader.png(), rows, 1)) return false;
      StoreRow(row.data(), layout.channels, width, picture.Row(y));
    }
    return true;
  }
  // Interlaced passes revisit every row, so the whole image is needed.
  std::vector<std::uint8_t> image(layout.rowBytes * static_cast<std::size_t>(height));
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) rows[y] = image.data() + layout.rowBytes * y;
  if (!ReadImageTrapped(reader.png(), rows.data())) return false;
  for (int y = 0; y < height; ++y) StoreRow(rows[y], layout.channels, width, picture.Row(y));
  return true;
}

}  // namespace

bool DecodePng(const std::uint8_t* data, std::size_t size, WorkPicture& picture) {
  picture.Clear();
  if (!data) return false;
  bool ok = false;
  try {
    ok = Decode(data, size, picture);
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  if (!ok) picture.Clear();
  return ok;
}

}  // namespace vantilo
