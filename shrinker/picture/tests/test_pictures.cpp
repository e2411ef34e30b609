#include "test_pictures.h"

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace vantilo::test {

namespace fs = std::filesystem;

WorkPicture NoisePicture(int width, int height, std::uint32_t seed) {
  WorkPicture p;
  p.SetSize(width, height);
  Lcg rng(seed);
  for (int y = 0; y < height; ++y)
    for (std::size_t i = 0; i < p.RowBytes(); ++i) p.Row(y)[i] = static_cast<std::uint8_t>(rng.Next());
  return p;
}

WorkPicture PhotoLikePicture(int width, int height, std::uint32_t seed) {
  WorkPicture p;
  p.SetSize(width, height);
  Lcg rng(seed);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = p.Row(y);
    for (int x = 0; x < width; ++x) {
      const int base[3] = {x * 200 / width + 20, y * 180 / height + 30,
                           ((x + y) * 150) / (width + height) + 60};
      for (int c = 0; c < 3; ++c) {
        int v = base[c] + ((x / 37 + y / 23 + c) % 5) * 6 + rng.Below(9) - 4;
        row[3 * x + c] = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
    }
  }
  return p;
}

WorkPicture UniformPicture(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  WorkPicture p;
  p.SetSize(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      p.Row(y)[3 * x] = b;
      p.Row(y)[3 * x + 1] = g;
      p.Row(y)[3 * x + 2] = r;
    }
  return p;
}

bool SamePixels(const WorkPicture& a, const WorkPicture& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.Format() != b.Format()) return false;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Row(y), b.Row(y), a.RowBytes()) != 0) return false;
  return true;
}

ScratchDir::ScratchDir() {
  static int counter = 0;
  const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path dir = fs::temp_directory_path() /
                       ("vantilo-picture-" + std::to_string(tick) + "-" + std::to_string(++counter));
  fs::create_directories(dir);
  dir_ = dir.string();
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

std::string ScratchDir::Path(const std::string& name) const { return (fs::path(dir_) / name).string(); }

void ScratchDir::Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  std::ofstream out(Path(name), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write test file");
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

namespace {

struct CompressJpeg {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  CompressJpeg() {
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
  }
  ~CompressJpeg() {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
  }
  std::vector<std::uint8_t> Run(const std::vector<std::uint8_t>& samples, int rowBytes,
                                const std::vector<std::uint8_t>& app1 = {}) {
    jpeg_start_compress(&cinfo, TRUE);
    if (!app1.empty())
      jpeg_write_marker(&cinfo, JPEG_APP0 + 1, app1.data(), static_cast<unsigned>(app1.size()));
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = const_cast<JSAMPROW>(samples.data() + rowBytes * cinfo.next_scanline);
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return std::vector<std::uint8_t>(buffer, buffer + size);
  }
};

}  // namespace

std::vector<std::uint8_t> MakeGrayJpeg(int width, int height, std::uint32_t seed) {
  CompressJpeg c;
  c.cinfo.image_width = width;
  c.cinfo.image_height = height;
  c.cinfo.input_components = 1;
  c.cinfo.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&c.cinfo);
  std::vector<std::uint8_t> samples(static_cast<std::size_t>(width) * height);
  Lcg rng(seed);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) samples[y * width + x] = static_cast<std::uint8_t>((x * 255) / width + rng.Below(3));
  return c.Run(samples, width);
}

std::vector<std::uint8_t> MakeColourJpeg(const WorkPicture& picture, int quality, bool fullChroma,
                                         const std::vector<std::uint8_t>& app1) {
  CompressJpeg c;
  c.cinfo.image_width = picture.Width();
  c.cinfo.image_height = picture.Height();
  c.cinfo.input_components = 3;
  c.cinfo.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&c.cinfo);
  jpeg_set_quality(&c.cinfo, quality, TRUE);
  if (fullChroma) c.cinfo.comp_info[0].h_samp_factor = c.cinfo.comp_info[0].v_samp_factor = 1;
  std::vector<std::uint8_t> samples;
  for (int y = 0; y < picture.Height(); ++y)
    samples.insert(samples.end(), picture.Row(y), picture.Row(y) + picture.RowBytes());
  return c.Run(samples, static_cast<int>(picture.RowBytes()), app1);
}

std::vector<std::uint8_t> ExifBlock(int orientation, bool bigEndian) {
  std::vector<std::uint8_t> b = {'E', 'x', 'i', 'f', 0, 0};
  auto u16 = [&](unsigned v) {
    if (bigEndian) b.insert(b.end(), {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
    else b.insert(b.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
  };
  auto u32 = [&](std::uint32_t v) {
    if (bigEndian) { u16(v >> 16); u16(v & 0xFFFF); } else { u16(v & 0xFFFF); u16(v >> 16); }
  };
  b.push_back(bigEndian ? 'M' : 'I');
  b.push_back(bigEndian ? 'M' : 'I');
  u16(42);
  u32(8);
  u16(3);  // entries: a make text, the orientation, a resolution unit
  u16(0x010F); u16(2); u32(4); b.insert(b.end(), {'Q', 'x', '1', 0});
  u16(0x0112); u16(3); u32(1); u16(static_cast<unsigned>(orientation)); u16(0);
  u16(0x0128); u16(3); u32(1); u16(2); u16(0);
  u32(0);  // no next directory
  return b;
}

std::vector<std::uint8_t> MakeCmykJpeg(int width, int height) {
  CompressJpeg c;
  c.cinfo.image_width = width;
  c.cinfo.image_height = height;
  c.cinfo.input_components = 4;
  c.cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&c.cinfo);
  std::vector<std::uint8_t> samples(static_cast<std::size_t>(width) * height * 4, 100);
  return c.Run(samples, width * 4);
}

namespace {

extern "C" int GifWriteVector(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

ColorMapObject* MakeMap(int colours, int salt) {
  if (colours == 0) return nullptr;
  std::vector<GifColorType> c(colours);
  for (int i = 0; i < colours; ++i)
    c[i] = GifColorType{static_cast<GifByteType>(i * 7 + salt), static_cast<GifByteType>(i * 3),
                        static_cast<GifByteType>(255 - i)};
  return GifMakeMapObject(colours, c.data());
}

}  // namespace

std::vector<std::uint8_t> MakeGif(int screenWidth, int screenHeight, int globalColours,
                                  const std::vector<GifFrame>& frames) {
  std::vector<std::uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, GifWriteVector, &error);
  if (!gif) throw std::runtime_error("EGifOpen");
  ColorMapObject* global = MakeMap(globalColours, 0);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, screenWidth, screenHeight, 8, 0, global);
  for (const GifFrame& f : frames) {
    ColorMapObject* local = MakeMap(f.localColours, 100);
    EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlace, local);
    std::vector<GifPixelType> line(f.width);
    // Interlaced frames are written in pass order, as the format stores them.
    std::vector<int> order;
    if (f.interlace) {
      const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
      for (int p = 0; p < 4; ++p)
        for (int y = start[p]; y < f.height; y += step[p]) order.push_back(y);
    } else {
      for (int y = 0; y < f.height; ++y) order.push_back(y);
    }
    for (int y : order) {
      std::memcpy(line.data(), f.indices.data() + static_cast<std::size_t>(y) * f.width, f.width);
      EGifPutLine(gif, line.data(), f.width);
    }
    GifFreeMapObject(local);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(global);
  return out;
}

std::vector<std::uint8_t> MakeRawGif(int width, int height, int globalColours,
                                     const std::vector<std::uint8_t>& indices) {
  std::vector<std::uint8_t> v = {'G', 'I', 'F', '8', '9', 'a'};
  int bits = 1;
  while ((1 << bits) < globalColours) ++bits;
  auto put16 = [&](int x) {
    v.push_back(static_cast<std::uint8_t>(x & 255));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
  };
  put16(width);
  put16(height);
  v.push_back(static_cast<std::uint8_t>(0x80 | (bits - 1)));
  v.push_back(0);
  v.push_back(0);
  for (int i = 0; i < (1 << bits); ++i) {
    v.push_back(static_cast<std::uint8_t>(i * 40));
    v.push_back(static_cast<std::uint8_t>(i * 20));
    v.push_back(static_cast<std::uint8_t>(i * 10));
  }
  v.push_back(0x2C);
  put16(0);
  put16(0);
  put16(width);
  put16(height);
  v.push_back(0);
  v.push_back(8);  // code size 8: every byte is a literal
  // Literal codes of 9 bits with a clear code often enough that the table
  // never grows to 10-bit codes.
  std::vector<std::uint8_t> data;
  std::uint32_t acc = 0;
  int filled = 0;
  auto code = [&](int c) {
    acc |= static_cast<std::uint32_t>(c) << filled;
    filled += 9;
    while (filled >= 8) {
      data.push_back(static_cast<std::uint8_t>(acc & 255));
      acc >>= 8;
      filled -= 8;
    }
  };
  code(256);
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i % 200 == 199) code(256);
    code(indices[i]);
  }
  code(257);
  if (filled > 0) data.push_back(static_cast<std::uint8_t>(acc & 255));
  for (std::size_t i = 0; i < data.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - i);
    v.push_back(static_cast<std::uint8_t>(n));
    v.insert(v.end(), data.begin() + i, data.begin() + i + n);
  }
  v.push_back(0);
  v.push_back(0x3B);
  return v;
}

namespace {

extern "C" void PngWriteVector(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}
extern "C" void PngFlush(png_structp) {}

}  // namespace

std::vector<std::uint8_t> MakePng(int width, int height, int colourType, int bitDepth,
                                  const std::vector<std::uint8_t>& samples, bool interlace,
                                  const std::vector<std::uint8_t>& palette,
                                  const std::vector<std::uint8_t>& trns) {
  std::vector<std::uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) throw std::runtime_error("png write");
  png_set_write_fn(png, &out, PngWriteVector, PngFlush);
  png_set_IHDR(png, info, width, height, bitDepth, colourType,
               interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty())
    png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(palette.data()),
                 static_cast<int>(palette.size() / 3));
  if (!trns.empty()) {
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
      png_set_tRNS(png, info, trns.data(), static_cast<int>(trns.size()), nullptr);
    } else {
      png_color_16 key{};
      key.gray = trns[0];
      key.red = trns[0];
      key.green = trns.size() > 1 ? trns[1] : 0;
      key.blue = trns.size() > 2 ? trns[2] : 0;
      png_set_tRNS(png, info, nullptr, 0, &key);
    }
  }
  png_write_info(png, info);
  const png_size_t rowBytes = png_get_rowbytes(png, info);
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) rows[y] = const_cast<png_bytep>(samples.data() + rowBytes * y);
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

namespace {
void Put16(std::vector<std::uint8_t>& v, std::uint32_t x) {
  v.push_back(x & 255);
  v.push_back((x >> 8) & 255);
}
void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}
}  // namespace

std::vector<std::uint8_t> MakeBmp(const BmpSpec& s) {
  std::vector<std::uint8_t> v;
  std::vector<std::uint8_t> header;
  if (s.headerSize == 12) {
    Put32(header, 12);
    Put16(header, static_cast<std::uint32_t>(s.width));
    Put16(header, static_cast<std::uint32_t>(s.height));
    Put16(header, s.planes);
    Put16(header, s.bitCount);
  } else {
    Put32(header, s.headerSize);
    Put32(header, static_cast<std::uint32_t>(s.width));
    Put32(header, static_cast<std::uint32_t>(s.height));
    Put16(header, s.planes);
    Put16(header, s.bitCount);
    Put32(header, s.compression);
    Put32(header, s.imageSize);
    Put32(header, 2835);
    Put32(header, 2835);
    Put32(header, s.coloursUsed);
    Put32(header, 0);
    std::size_t m = 0;
    while (header.size() < s.headerSize) {
      if (s.headerSize > 40 && m < s.masks.size() && header.size() == 40 + 4 * m) {
        Put32(header, s.masks[m++]);
      } else {
        header.push_back(0);
      }
    }
    if (s.headerSize == 40)
      for (std::uint32_t mask : s.masks) Put32(header, mask);
  }
  const std::size_t offset = s.pixelOffset >= 0
                                 ? static_cast<std::size_t>(s.pixelOffset)
                                 : 14 + header.size() + s.palette.size();
  v.push_back('B');
  v.push_back('M');
  Put32(v, static_cast<std::uint32_t>(offset + s.pixels.size()));
  Put32(v, 0);
  Put32(v, static_cast<std::uint32_t>(offset));
  v.insert(v.end(), header.begin(), header.end());
  v.insert(v.end(), s.palette.begin(), s.palette.end());
  if (v.size() < offset) v.resize(offset, 0);
  v.insert(v.end(), s.pixels.begin(), s.pixels.end());
  return v;
}

}  // namespace vantilo::test
