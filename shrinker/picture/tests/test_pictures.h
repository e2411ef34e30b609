// Deterministic test pictures and small file writers for the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/work_picture.h"

namespace vantilo::test {

// Small linear congruential generator: same sequence on every platform.
class Lcg {
 public:
  explicit Lcg(std::uint32_t seed) : state_(seed) {}
  std::uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }

 private:
  std::uint32_t state_;
};

WorkPicture NoisePicture(int width, int height, std::uint32_t seed);
// Smooth gradients with mild noise: compresses like a photograph.
WorkPicture PhotoLikePicture(int width, int height, std::uint32_t seed);
WorkPicture UniformPicture(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r);

bool SamePixels(const WorkPicture& a, const WorkPicture& b);

// A scratch folder removed with its files when the object goes away.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::string Path(const std::string& name) const;
  void Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;

 private:
  std::string dir_;
  mutable std::vector<std::string> files_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);

// Writers that produce test inputs with the libraries themselves.
std::vector<std::uint8_t> MakeGrayJpeg(int width, int height, std::uint32_t seed);
std::vector<std::uint8_t> MakeCmykJpeg(int width, int height);
// A colour JPEG of a Bgr24 picture; fullChroma keeps the colour planes at
// full resolution; a non-empty app1 becomes an APP1 segment (an EXIF block).
std::vector<std::uint8_t> MakeColourJpeg(const WorkPicture& picture, int quality, bool fullChroma = false,
                                         const std::vector<std::uint8_t>& app1 = {});
// An APP1 EXIF body ("Exif\0\0" and a TIFF block) whose first directory
// holds the orientation among other tags.
std::vector<std::uint8_t> ExifBlock(int orientation, bool bigEndian);
struct GifFrame {
  int left = 0, top = 0, width = 0, height = 0;
  bool interlace = false;
  std::vector<std::uint8_t> indices;
  int localColours = 0;  // 0: no local palette
};
std::vector<std::uint8_t> MakeGif(int screenWidth, int screenHeight, int globalColours,
                                  const std::vector<GifFrame>& frames);
// Hand-built GIF with an 8-bit code size whatever the palette holds, so the
// pixel codes may exceed the palette (giflib's writer masks them).
std::vector<std::uint8_t> MakeRawGif(int width, int height, int globalColours,
                                     const std::vector<std::uint8_t>& indices);
// colourType as libpng's PNG_COLOR_TYPE_*, samples row-major as stored.
std::vector<std::uint8_t> MakePng(int width, int height, int colourType, int bitDepth,
                                  const std::vector<std::uint8_t>& samples, bool interlace,
                                  const std::vector<std::uint8_t>& palette = {},
                                  const std::vector<std::uint8_t>& trns = {});

// Little-endian BMP builder: headers as given, no checks, for crafted files.
struct BmpSpec {
  std::uint32_t headerSize = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t coloursUsed = 0;
  std::vector<std::uint32_t> masks;  // written right after a 40-byte header
  std::vector<std::uint8_t> palette; // raw entries
  std::int64_t pixelOffset = -1;     // -1: right after the palette
  std::vector<std::uint8_t> pixels;  // raw pixel data
};
std::vector<std::uint8_t> MakeBmp(const BmpSpec& layout);

}  // namespace vantilo::test
