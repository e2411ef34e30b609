// libjpeg's decoder one band of rows at a time, with the shrinker's
// parameters: full scale, block smoothing off, colour as blue-green-red,
// one-component files through the 236-colour quantiser (palette indices).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "jpeg_trap.h"
#include "picture/work_picture.h"

namespace vantilo {

class JpegRowReader {
 public:
  JpegRowReader();
  ~JpegRowReader();
  JpegRowReader(const JpegRowReader&) = delete;
  JpegRowReader& operator=(const JpegRowReader&) = delete;

  // Reads the header and starts decoding; false for anything it cannot
  // decode (CMYK, more than WorkPicture::kMaxPixels, broken data).
  bool Start(const std::uint8_t* data, std::size_t size);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Gray files come as one palette index per pixel.
  bool Indexed() const { return indexed_; }
  const std::array<PaletteEntry, 256>& Palette() const { return palette_; }

  // The next rows, at most count of them; 0 on an error (a cut file too).
  int Read(std::uint8_t* const* rows, int count);
  // After the last row: the end of the file must be sound too.
  bool Finish();

 private:
  jpeg_decompress_struct cinfo_;
  JpegTrap trap_;
  int width_ = 0, height_ = 0;
  bool indexed_ = false;
  std::array<PaletteEntry, 256> palette_{};
};

}  // namespace vantilo
