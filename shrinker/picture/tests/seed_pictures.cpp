#include "seed_pictures.h"

#include <png.h>

#include "picture/jpeg_writer.h"
#include "test_pictures.h"

namespace vantilo::test {

namespace {

std::vector<std::uint8_t> Jpeg(int w, int h, int quality, bool gray, bool progressive) {
  std::vector<std::uint8_t> out;
  EncodeJpeg(PhotoLikePicture(w, h, static_cast<std::uint32_t>(w * h)),
             JpegOptions{quality, gray, progressive}, out);
  return out;
}

std::vector<std::uint8_t> Ramp(std::size_t n, int mod) {
  std::vector<std::uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>((i * 13 + i / 7) % mod);
  return v;
}

std::vector<std::uint8_t> BmpPalette(int n) {
  std::vector<std::uint8_t> p;
  for (int i = 0; i < n; ++i) {
    p.push_back(static_cast<std::uint8_t>(i));
    p.push_back(static_cast<std::uint8_t>(255 - i));
    p.push_back(static_cast<std::uint8_t>(i * 3));
    p.push_back(0);
  }
  return p;
}

}  // namespace

std::vector<Seed> SeedsFor(PictureKind kind) {
  std::vector<Seed> seeds;
  switch (kind) {
    case PictureKind::Jpeg:
      seeds.push_back({"baseline.jpg", Jpeg(24, 17, 75, false, false)});
      seeds.push_back({"progressive.jpg", Jpeg(19, 21, 60, false, true)});
      seeds.push_back({"gray.jpg", Jpeg(16, 16, 90, true, false)});
      seeds.push_back({"cmyk.jpg", MakeCmykJpeg(8, 8)});
      break;
    case PictureKind::Gif: {
      GifFrame plain{2, 3, 12, 9, false, Ramp(12 * 9, 16), 0};
      GifFrame laced{0, 0, 11, 13, true, Ramp(11 * 13, 8), 8};
      seeds.push_back({"two-frames.gif", MakeGif(20, 20, 16, {plain, laced})});
      seeds.push_back({"interlaced.gif", MakeGif(11, 13, 2, {laced})});
      seeds.push_back({"raw-codes.gif", MakeRawGif(9, 7, 4, Ramp(63, 256))});
      break;
    }
    case PictureKind::Png:
      seeds.push_back({"rgb.png", MakePng(7, 5, PNG_COLOR_TYPE_RGB, 8, Ramp(7 * 5 * 3, 256), false)});
      seeds.push_back({"rgba-adam7.png",
                       MakePng(9, 9, PNG_COLOR_TYPE_RGB_ALPHA, 8, Ramp(9 * 9 * 4, 256), true)});
      seeds.push_back({"palette.png", MakePng(8, 3, PNG_COLOR_TYPE_PALETTE, 4, Ramp(4 * 3, 256), false,
                                              Ramp(16 * 3, 256), {0, 128})});
      seeds.push_back({"gray16.png", MakePng(5, 4, PNG_COLOR_TYPE_GRAY, 16, Ramp(5 * 4 * 2, 256), false)});
      break;
    case PictureKind::Bmp: {
      BmpSpec rgb;
      rgb.width = 5;
      rgb.height = 3;
      rgb.pixels = Ramp(16 * 3, 256);
      seeds.push_back({"rgb24.bmp", MakeBmp(rgb)});
      BmpSpec top = rgb;
      top.height = -3;
      top.bitCount = 32;
      top.pixels = Ramp(20 * 3, 256);
      seeds.push_back({"top-down32.bmp", MakeBmp(top)});
      BmpSpec four;
      four.width = 6;
      four.height = 2;
      four.bitCount = 4;
      four.palette = BmpPalette(16);
      four.pixels = Ramp(8, 256);
      seeds.push_back({"paletted4.bmp", MakeBmp(four)});
      BmpSpec rle;
      rle.width = 6;
      rle.height = 3;
      rle.bitCount = 8;
      rle.compression = 1;
      rle.palette = BmpPalette(256);
      rle.pixels = {3, 9, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 0, 2, 4, 0, 0, 6, 5, 0, 1};
      seeds.push_back({"rle8.bmp", MakeBmp(rle)});
      BmpSpec rle4 = rle;
      rle4.bitCount = 4;
      rle4.compression = 2;
      rle4.palette = BmpPalette(16);
      rle4.pixels = {4, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 6, 0xAB, 0, 1};
      seeds.push_back({"rle4.bmp", MakeBmp(rle4)});
      BmpSpec fields;
      fields.width = 3;
      fields.height = 2;
      fields.bitCount = 16;
      fields.compression = 3;
      fields.masks = {0xF800, 0x07E0, 0x001F};
      fields.pixels = Ramp(16, 256);
      seeds.push_back({"bitfields565.bmp", MakeBmp(fields)});
      break;
    }
    default:
      break;
  }
  return seeds;
}

Decoder DecoderFor(PictureKind kind) {
  switch (kind) {
    case PictureKind::Jpeg: return DecodeJpeg;
    case PictureKind::Gif: return DecodeGif;
    case PictureKind::Png: return DecodePng;
    case PictureKind::Bmp: return DecodeBmp;
    default: return nullptr;
  }
}

const char* FolderFor(PictureKind kind) {
  switch (kind) {
    case PictureKind::Jpeg: return "jpeg";
    case PictureKind::Gif: return "gif";
    case PictureKind::Png: return "png";
    case PictureKind::Bmp: return "bmp";
    default: return "";
  }
}

}  // namespace vantilo::test
