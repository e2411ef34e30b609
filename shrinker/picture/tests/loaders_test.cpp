#include <gtest/gtest.h>

#include <png.h>

#include <set>

#include "picture/jpeg_writer.h"
#include "picture/load_picture.h"
#include "test_pictures.h"

namespace vantilo {
namespace {

using test::MakeGif;
using test::MakePng;
using test::ScratchDir;

std::vector<std::uint8_t> ColourJpeg(int w, int h) {
  std::vector<std::uint8_t> bytes;
  JpegOptions o;
  o.quality = 95;
  EXPECT_TRUE(EncodeJpeg(test::PhotoLikePicture(w, h, 1), o, bytes));
  return bytes;
}

TEST(PictureDispatch, ByExtensionOnlyAnyCase) {
  EXPECT_EQ(PictureKindOf("a/photo.JPG"), PictureKind::Jpeg);
  EXPECT_EQ(PictureKindOf("photo.jpeg"), PictureKind::Jpeg);
  EXPECT_EQ(PictureKindOf("x.JpEg"), PictureKind::Jpeg);
  EXPECT_EQ(PictureKindOf("x.Gif"), PictureKind::Gif);
  EXPECT_EQ(PictureKindOf("x.PNG"), PictureKind::Png);
  EXPECT_EQ(PictureKindOf("x.bmp"), PictureKind::Bmp);
  EXPECT_EQ(PictureKindOf("x.jpe"), PictureKind::None);
  EXPECT_EQ(PictureKindOf("x.bmp.txt"), PictureKind::None);
  EXPECT_EQ(PictureKindOf("jpg"), PictureKind::None);
  EXPECT_EQ(PictureKindOf("\x95\x5c.jpg"), PictureKind::Jpeg);  // code page 932 name
}

TEST(PictureDispatch, LoadsFilesAndFailsCleanly) {
  ScratchDir dir;
  const std::vector<std::uint8_t> jpeg = ColourJpeg(64, 48);
  dir.Write("photo.JPG", jpeg);
  dir.Write("empty.jpg", {});
  dir.Write("photo.txt", jpeg);
  dir.Write("wrong.png", jpeg);
  WorkPicture pic;
  ASSERT_TRUE(LoadPicture(dir.Path("photo.JPG"), pic));
  EXPECT_EQ(pic.Width(), 64);
  EXPECT_EQ(pic.Height(), 48);
  EXPECT_EQ(pic.Format(), PixelFormat::Bgr24);
  EXPECT_FALSE(LoadPicture(dir.Path("empty.jpg"), pic));
  EXPECT_TRUE(pic.Empty());
  ASSERT_TRUE(LoadPicture(dir.Path("photo.JPG"), pic));
  EXPECT_FALSE(LoadPicture(dir.Path("photo.txt"), pic));
  EXPECT_TRUE(pic.Empty());
  EXPECT_FALSE(LoadPicture(dir.Path("wrong.png"), pic));
  EXPECT_FALSE(LoadPicture(dir.Path("missing.jpg"), pic));
  EXPECT_FALSE(LoadPicture(dir.Path(""), pic));
}

TEST(JpegLoading, ColourDecodesCloseToTheSource) {
  const WorkPicture src = test::PhotoLikePicture(80, 60, 1);
  WorkPicture pic;
  const std::vector<std::uint8_t> bytes = ColourJpeg(80, 60);
  ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), pic));
  ASSERT_EQ(pic.Format(), PixelFormat::Bgr24);
  // Blue stays blue: the channel order survives the round trip.
  long long err = 0;
  for (int y = 0; y < 60; ++y)
    for (std::size_t i = 0; i < pic.RowBytes(); ++i) err += std::abs(pic.Row(y)[i] - src.Row(y)[i]);
  EXPECT_LT(err / (80.0 * 60 * 3), 4.0);
}

TEST(JpegLoading, GrayGoesThroughTheQuantiser) {
  const std::vector<std::uint8_t> bytes = test::MakeGrayJpeg(300, 40, 5);
  WorkPicture pic;
  ASSERT_TRUE(DecodeJpeg(bytes.data(), bytes.size(), pic));
  ASSERT_EQ(pic.Format(), PixelFormat::Indexed8);
  std::set<int> levels;
  for (int y = 0; y < pic.Height(); ++y)
    for (int x = 0; x < pic.Width(); ++x) {
      const PaletteEntry& e = pic.Palette()[pic.Row(y)[x]];
      EXPECT_TRUE(e.blue == e.green && e.green == e.red);
      levels.insert(e.blue);
    }
  EXPECT_LE(levels.size(), 236u);
  EXPECT_GT(levels.size(), 200u);  // the ramp uses nearly all levels
  // 236 evenly spaced levels from black to white.
  EXPECT_EQ(pic.Palette()[0].blue, 0);
  EXPECT_EQ(pic.Palette()[235].blue, 255);
  ASSERT_TRUE(pic.ConvertTo24Bits());
  EXPECT_EQ(pic.Format(), PixelFormat::Bgr24);
  EXPECT_EQ(pic.Width(), 300);
}

TEST(JpegLoading, CmykAndBrokenFilesFail) {
  WorkPicture pic;
  const std::vector<std::uint8_t> cmyk = test::MakeCmykJpeg(16, 16);
  EXPECT_FALSE(DecodeJpeg(cmyk.data(), cmyk.size(), pic));
  EXPECT_TRUE(pic.Empty());
  std::vector<std::uint8_t> bytes = ColourJpeg(200, 150);
  EXPECT_FALSE(DecodeJpeg(bytes.data(), bytes.size() / 2, pic));  // truncated
  EXPECT_TRUE(pic.Empty());
  EXPECT_FALSE(DecodeJpeg(bytes.data(), 2, pic));
  std::vector<std::uint8_t> garbage(1000, 0x55);
  EXPECT_FALSE(DecodeJpeg(garbage.data(), garbage.size(), pic));
}

std::vector<std::uint8_t> Indices(int w, int h, int mod) {
  std::vector<std::uint8_t> v(static_cast<std::size_t>(w) * h);
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = static_cast<std::uint8_t>((i * 7 + i / w) % mod);
  return v;
}

TEST(GifLoading, FirstImageInItsOwnRectangle) {
  test::GifFrame first{10, 20, 50, 40, false, Indices(50, 40, 16), 0};
  test::GifFrame second{0, 0, 100, 100, false, Indices(100, 100, 16), 0};
  const auto bytes = MakeGif(100, 100, 16, {first, second});
  WorkPicture pic;
  ASSERT_TRUE(DecodeGif(bytes.data(), bytes.size(), pic));
  EXPECT_EQ(pic.Width(), 50);
  EXPECT_EQ(pic.Height(), 40);
  ASSERT_EQ(pic.Format(), PixelFormat::Indexed8);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 50; ++x) ASSERT_EQ(pic.Row(y)[x], first.indices[y * 50 + x]);
  // Global palette as written by the test writer.
  EXPECT_EQ(pic.Palette()[3].red, 7 * 3);
  EXPECT_EQ(pic.Palette()[3].blue, 255 - 3);
}

TEST(GifLoading, LocalPaletteWinsAndInterlaceIsUndone) {
  test::GifFrame frame{0, 0, 33, 29, true, Indices(33, 29, 32), 32};
  const auto bytes = MakeGif(33, 29, 4, {frame});
  WorkPicture pic;
  ASSERT_TRUE(DecodeGif(bytes.data(), bytes.size(), pic));
  for (int y = 0; y < 29; ++y)
    for (int x = 0; x < 33; ++x) ASSERT_EQ(pic.Row(y)[x], frame.indices[y * 33 + x]) << x << "," << y;
  EXPECT_EQ(pic.Palette()[5].red, 5 * 7 + 100);
}

TEST(GifLoading, IndicesBeyondThePaletteStayInside) {
  // Two-colour palette, pixel codes up to 255.
  const std::vector<std::uint8_t> indices = Indices(16, 16, 256);
  const auto bytes = test::MakeRawGif(16, 16, 2, indices);
  WorkPicture pic;
  ASSERT_TRUE(DecodeGif(bytes.data(), bytes.size(), pic));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(pic.Row(y)[x], indices[y * 16 + x]);
  ASSERT_TRUE(pic.ConvertTo24Bits());
  int outside = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const int index = indices[y * 16 + x];
      const std::uint8_t* px = pic.Row(y) + 3 * x;
      if (index >= 2) {
        ++outside;
        EXPECT_TRUE(px[0] == 0 && px[1] == 0 && px[2] == 0) << index;  // black padding
      } else {
        EXPECT_EQ(px[0], index * 10);
      }
    }
  EXPECT_GT(outside, 200);
}

TEST(GifLoading, NoImageOrNoPaletteFails) {
  WorkPicture pic;
  const auto empty = MakeGif(10, 10, 2, {});
  EXPECT_FALSE(DecodeGif(empty.data(), empty.size(), pic));
  test::GifFrame frame{0, 0, 8, 8, false, Indices(8, 8, 2), 0};
  const auto bare = MakeGif(8, 8, 0, {frame});
  EXPECT_FALSE(DecodeGif(bare.data(), bare.size(), pic));
  const auto good = MakeGif(8, 8, 2, {frame});
  EXPECT_FALSE(DecodeGif(good.data(), good.size() - 8, pic));  // cut inside the raster
  EXPECT_TRUE(pic.Empty());
}

TEST(PngLoading, ColourGrayPaletteAndSixteenBit) {
  WorkPicture pic;
  const std::vector<std::uint8_t> rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  auto bytes = MakePng(2, 2, PNG_COLOR_TYPE_RGB, 8, rgb, false);
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), pic));
  ASSERT_EQ(pic.Format(), PixelFormat::Bgr24);
  EXPECT_EQ(pic.Row(0)[0], 30);  // blue first
  EXPECT_EQ(pic.Row(0)[2], 10);
  EXPECT_EQ(pic.Row(1)[5], 100);

  bytes = MakePng(3, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 128, 255}, false);
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), pic));
  EXPECT_EQ(pic.Row(0)[3], 128);
  EXPECT_EQ(pic.Row(0)[5], 128);

  // 16-bit samples are reduced to 8 bits.
  bytes = MakePng(1, 1, PNG_COLOR_TYPE_RGB, 16, {0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00}, false);
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), pic));
  EXPECT_EQ(pic.Row(0)[2], 255);
  EXPECT_EQ(pic.Row(0)[1], 128);
  EXPECT_EQ(pic.Row(0)[0], 0);

  // 2-bit palette.
  bytes = MakePng(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {0x1B}, false,
                  {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9});
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), pic));
  EXPECT_EQ(pic.Row(0)[2], 255);  // index 0 red
  EXPECT_EQ(pic.Row(0)[4], 255);  // index 1 green
  EXPECT_EQ(pic.Row(0)[6], 255);  // index 2 blue
  EXPECT_EQ(pic.Row(0)[9], 9);
}

TEST(PngLoading, TransparencyComesOutWhite) {
  WorkPicture pic;
  // RGBA: opaque red, fully transparent black, half transparent blue.
  auto bytes = MakePng(3, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8,
                       {255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 128}, false);
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), pic));
  const std::uint8_t* row = pic.Row(0);
  EXPECT_EQ(row[0], 0);
  EXPECT_EQ(row[2], 255);
  EXPECT_EQ(row[3], 255);
  EXPECT_EQ(row[4], 255);
  EXPECT_EQ(row[5], 255);
  EXPECT_EQ(row[6], 255);  // blue stays full
  EXPECT_EQ(row[7], 127);  // (255 * 127 + 127) / 255
  // Palette transparency and gray-alpha go the same way.
  bytes = MakePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1}, false, {0, 0, 0, 0, 0, 0}, {0, 255});
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), pic));
  EXPECT_EQ(pic.Row(0)[0], 255);
  EXPECT_EQ(pic.Row(0)[3], 0);
  bytes = MakePng(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0, 0}, false);
  ASSERT_TRUE(DecodePng(bytes.data(), bytes.size(), pic));
  EXPECT_EQ(pic.Row(0)[1], 255);
}

TEST(PngLoading, InterlacedMatchesPlain) {
  std::vector<std::uint8_t> samples(37 * 23 * 3);
  test::Lcg rng(3);
  for (auto& s : samples) s = static_cast<std::uint8_t>(rng.Next());
  const auto plain = MakePng(37, 23, PNG_COLOR_TYPE_RGB, 8, samples, false);
  const auto adam7 = MakePng(37, 23, PNG_COLOR_TYPE_RGB, 8, samples, true);
  WorkPicture a, b;
  ASSERT_TRUE(DecodePng(plain.data(), plain.size(), a));
  ASSERT_TRUE(DecodePng(adam7.data(), adam7.size(), b));
  EXPECT_TRUE(test::SamePixels(a, b));
  EXPECT_FALSE(DecodePng(adam7.data(), adam7.size() - 30, b));
  EXPECT_TRUE(b.Empty());
}

TEST(PngLoading, BrokenFilesFail) {
  WorkPicture pic;
  std::vector<std::uint8_t> samples(20 * 20 * 3, 7);
  auto bytes = MakePng(20, 20, PNG_COLOR_TYPE_RGB, 8, samples, false);
  EXPECT_FALSE(DecodePng(bytes.data(), 40, pic));
  bytes[20] ^= 0x40;  // header CRC no longer matches
  EXPECT_FALSE(DecodePng(bytes.data(), bytes.size(), pic));
  const std::uint8_t text[] = "not a png at all";
  EXPECT_FALSE(DecodePng(text, sizeof text, pic));
}

}  // namespace
}  // namespace vantilo
