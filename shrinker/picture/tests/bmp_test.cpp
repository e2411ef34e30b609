#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "picture/load_picture.h"
#include "test_pictures.h"

namespace vantilo {
namespace {

using test::BmpSpec;
using test::MakeBmp;

bool Decode(const BmpSpec& layout, WorkPicture& pic) {
  const std::vector<std::uint8_t> bytes = MakeBmp(layout);
  const bool ok = DecodeBmp(bytes.data(), bytes.size(), pic);
  EXPECT_EQ(ok, !pic.Empty());
  return ok;
}

// Blue, green, red of pixel (x, y) after conversion to 24 bits.
std::vector<int> Px(WorkPicture pic, int x, int y) {
  pic.ConvertTo24Bits();
  const std::uint8_t* p = pic.Row(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

std::vector<std::uint8_t> Palette(int count) {
  std::vector<std::uint8_t> p;
  for (int i = 0; i < count; ++i) {
    p.push_back(static_cast<std::uint8_t>(i));       // blue
    p.push_back(static_cast<std::uint8_t>(i * 2));   // green
    p.push_back(static_cast<std::uint8_t>(255 - i)); // red
    p.push_back(0);
  }
  return p;
}

BmpSpec Rgb24(int w, int h) {
  BmpSpec s;
  s.width = w;
  s.height = h;
  const int stride = (w * 3 + 3) / 4 * 4;
  s.pixels.assign(static_cast<std::size_t>(stride) * (h < 0 ? -h : h), 0);
  for (std::size_t i = 0; i < s.pixels.size(); ++i) s.pixels[i] = static_cast<std::uint8_t>(i * 5);
  return s;
}

TEST(BmpLoading, TwentyFourBitBottomUpAndTopDown) {
  WorkPicture up, down;
  ASSERT_TRUE(Decode(Rgb24(3, 2), up));
  EXPECT_EQ(up.Format(), PixelFormat::Bgr24);
  // Stored first row (offset 0) is the bottom row; stride 12.
  EXPECT_EQ(Px(up, 0, 1), (std::vector<int>{0, 5, 10}));
  EXPECT_EQ(Px(up, 1, 0), (std::vector<int>{75, 80, 85}));
  ASSERT_TRUE(Decode(Rgb24(3, -2), down));
  EXPECT_EQ(Px(down, 0, 0), (std::vector<int>{0, 5, 10}));
  EXPECT_EQ(Px(down, 1, 1), (std::vector<int>{75, 80, 85}));
}

TEST(BmpLoading, PalettedDepths) {
  WorkPicture pic;
  BmpSpec one;
  one.width = 10;
  one.height = 1;
  one.bitCount = 1;
  one.palette = Palette(2);
  one.pixels = {0xA0, 0x40, 0, 0};  // 1010 0000 01..
  ASSERT_TRUE(Decode(one, pic));
  EXPECT_EQ(pic.Format(), PixelFormat::Indexed8);
  EXPECT_EQ(Px(pic, 0, 0), (std::vector<int>{1, 2, 254}));
  EXPECT_EQ(Px(pic, 1, 0), (std::vector<int>{0, 0, 255}));
  EXPECT_EQ(Px(pic, 9, 0), (std::vector<int>{1, 2, 254}));

  BmpSpec four = one;
  four.bitCount = 4;
  four.width = 3;
  four.palette = Palette(16);
  four.pixels = {0x5F, 0x30, 0, 0};
  ASSERT_TRUE(Decode(four, pic));
  EXPECT_EQ(Px(pic, 0, 0), (std::vector<int>{5, 10, 250}));
  EXPECT_EQ(Px(pic, 1, 0), (std::vector<int>{15, 30, 240}));
  EXPECT_EQ(Px(pic, 2, 0), (std::vector<int>{3, 6, 252}));

  BmpSpec eight = one;
  eight.bitCount = 8;
  eight.width = 2;
  eight.coloursUsed = 3;
  eight.palette = Palette(3);
  eight.pixels = {2, 200, 0, 0};  // 200 lies beyond the palette: black
  ASSERT_TRUE(Decode(eight, pic));
  EXPECT_EQ(Px(pic, 0, 0), (std::vector<int>{2, 4, 253}));
  EXPECT_EQ(Px(pic, 1, 0), (std::vector<int>{0, 0, 0}));
}

TEST(BmpLoading, SixteenAndThirtyTwoBit) {
  WorkPicture pic;
  BmpSpec s;
  s.width = 2;
  s.height = 1;
  s.bitCount = 16;
  s.pixels = {0xFF, 0x7F, 0x1F, 0x00};  // 5-5-5: white, pure blue
  ASSERT_TRUE(Decode(s, pic));
  EXPECT_EQ(Px(pic, 0, 0), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(Px(pic, 1, 0), (std::vector<int>{255, 0, 0}));

  s.compression = 3;  // 5-6-5 bit fields
  s.masks = {0xF800, 0x07E0, 0x001F};
  s.pixels = {0xE0, 0x07, 0x00, 0x84};  // pure green; red 16 of 31, green 32 of 63
  ASSERT_TRUE(Decode(s, pic));
  EXPECT_EQ(Px(pic, 0, 0), (std::vector<int>{0, 255, 0}));
  EXPECT_EQ(Px(pic, 1, 0), (std::vector<int>{0, 130, 132}));

  BmpSpec t;
  t.width = 1;
  t.height = 1;
  t.bitCount = 32;
  t.pixels = {1, 2, 3, 4};
  ASSERT_TRUE(Decode(t, pic));
  EXPECT_EQ(Px(pic, 0, 0), (std::vector<int>{1, 2, 3}));
  t.compression = 3;
  t.headerSize = 124;  // masks inside a version 5 header
  t.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  ASSERT_TRUE(Decode(t, pic));
  EXPECT_EQ(Px(pic, 0, 0), (std::vector<int>{3, 2, 1}));
}

TEST(BmpLoading, CoreHeader) {
  WorkPicture pic;
  BmpSpec s;
  s.headerSize = 12;
  s.width = 1;
  s.height = 1;
  s.bitCount = 8;
  s.palette = {9, 8, 7, 1, 2, 3};  // three-byte entries
  s.pixels = {1, 0, 0, 0};
  // A core header's palette is 256 entries for 8 bits; pad it.
  s.palette.resize(256 * 3, 0);
  ASSERT_TRUE(Decode(s, pic));
  EXPECT_EQ(Px(pic, 0, 0), (std::vector<int>{1, 2, 3}));
}

TEST(BmpLoading, RunLengthEightAndFour) {
  WorkPicture pic;
  BmpSpec s;
  s.width = 5;
  s.height = 2;
  s.bitCount = 8;
  s.compression = 1;
  s.palette = Palette(256);
  // Bottom row: run of 2 x 7, absolute {9, 8, 6} padded; EOL; top row:
  // delta 2 right, run of 2 x 5; end of bitmap.
  s.pixels = {2, 7, 0, 3, 9, 8, 6, 0, 0, 0, 0, 2, 2, 0, 2, 5, 0, 1};
  ASSERT_TRUE(Decode(s, pic));
  const std::uint8_t bottom[5] = {7, 7, 9, 8, 6};
  const std::uint8_t top[5] = {0, 0, 5, 5, 0};  // skipped pixels keep index 0
  EXPECT_TRUE(std::equal(bottom, bottom + 5, pic.Row(1)));
  EXPECT_TRUE(std::equal(top, top + 5, pic.Row(0)));

  BmpSpec f = s;
  f.width = 4;
  f.bitCount = 4;
  f.compression = 2;
  f.palette = Palette(16);
  // Run of 4 alternating 0xA/0xB; EOL; absolute 3 nibbles 1,2,3; EOB.
  f.pixels = {4, 0xAB, 0, 0, 0, 3, 0x12, 0x30, 0, 1};
  ASSERT_TRUE(Decode(f, pic));
  EXPECT_EQ(pic.Row(1)[0], 0xA);
  EXPECT_EQ(pic.Row(1)[1], 0xB);
  EXPECT_EQ(pic.Row(1)[3], 0xB);
  EXPECT_EQ(pic.Row(0)[0], 1);
  EXPECT_EQ(pic.Row(0)[2], 3);
}

// Each crafted header or data fault must fail the load cleanly.
class BmpHostile : public ::testing::Test {
 protected:
  void ExpectRefused(const BmpSpec& layout, const char* what) {
    WorkPicture pic;
    EXPECT_FALSE(Decode(layout, pic)) << what;
  }
  void ExpectRefusedBytes(const std::vector<std::uint8_t>& bytes, const char* what) {
    WorkPicture pic;
    EXPECT_FALSE(DecodeBmp(bytes.data(), bytes.size(), pic)) << what;
    EXPECT_TRUE(pic.Empty());
  }
  BmpSpec Paletted8() {
    BmpSpec s;
    s.width = 4;
    s.height = 2;
    s.bitCount = 8;
    s.palette = Palette(256);
    s.pixels.assign(8, 1);
    return s;
  }
  BmpSpec Rle8(std::vector<std::uint8_t> data) {
    BmpSpec s = Paletted8();
    s.compression = 1;
    s.pixels = std::move(data);
    return s;
  }
};

TEST_F(BmpHostile, HeaderFields) {
  auto bytes = MakeBmp(Rgb24(2, 2));
  auto bad = bytes;
  bad[1] = 'A';
  ExpectRefusedBytes(bad, "magic");
  bad = bytes;
  bad[14] = 20;
  ExpectRefusedBytes(bad, "unknown header size");
  ExpectRefusedBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 30), "header cut");
  ExpectRefusedBytes({}, "empty");

  BmpSpec s = Rgb24(2, 2);
  s.headerSize = 124;
  s.pixelOffset = -1;
  WorkPicture ok;
  EXPECT_TRUE(Decode(s, ok)) << "version 5 header";

  s = Rgb24(2, 2);
  s.planes = 2;
  ExpectRefused(s, "planes");
  s = Rgb24(2, 2);
  s.bitCount = 7;
  ExpectRefused(s, "bit depth");
  s = Rgb24(2, 2);
  s.compression = 1;
  ExpectRefused(s, "RLE8 with 24 bits");
  s = Rgb24(2, 2);
  s.compression = 4;
  ExpectRefused(s, "embedded JPEG");
  s = Rgb24(2, 2);
  s.compression = 3;
  ExpectRefused(s, "bit fields with 24 bits");
}

TEST_F(BmpHostile, Dimensions) {
  BmpSpec s = Rgb24(2, 2);
  s.width = 0;
  ExpectRefused(s, "zero width");
  s.width = -2;
  ExpectRefused(s, "negative width");
  s = Rgb24(2, 2);
  s.height = 0;
  ExpectRefused(s, "zero height");
  s.height = INT_MIN;
  ExpectRefused(s, "height without a positive form");
  s = Rgb24(2, 2);
  s.width = INT_MAX;
  s.height = INT_MAX;
  ExpectRefused(s, "stride times height overflows");
  s.width = 1 << 16;
  s.height = 1 << 10;  // small enough product for the limit, far too few bytes
  ExpectRefused(s, "pixel data missing");
  s = Paletted8();
  s.compression = 1;
  s.height = -2;
  ExpectRefused(s, "top-down run-length data");
}

TEST_F(BmpHostile, PaletteAndOffsets) {
  BmpSpec s = Paletted8();
  s.coloursUsed = 257;
  ExpectRefused(s, "more colours than 8 bits can index");
  s = Paletted8();
  s.palette.resize(10);
  s.pixels.clear();  // declared 256 entries run past the end of the file
  ExpectRefused(s, "palette beyond the file");
  s = Paletted8();
  s.pixelOffset = 30;
  ExpectRefused(s, "pixels inside the headers");
  s = Paletted8();
  s.pixelOffset = 1 << 20;
  s.pixels.clear();
  ExpectRefused(s, "pixel offset beyond the file");
  s = Rgb24(4, 4);
  s.pixels.resize(s.pixels.size() - 13);
  ExpectRefused(s, "truncated pixel data");
  // Only the final row's padding may be missing.
  s = Rgb24(3, 2);
  s.pixels.resize(s.pixels.size() - 3);
  WorkPicture pic;
  EXPECT_TRUE(Decode(s, pic));
}

TEST_F(BmpHostile, BitFieldMasks) {
  BmpSpec s;
  s.width = 1;
  s.height = 1;
  s.bitCount = 16;
  s.compression = 3;
  s.pixels = {0, 0, 0, 0};
  s.masks = {0, 0x07E0, 0x001F};
  ExpectRefused(s, "empty mask");
  s.masks = {0xF800, 0x0FE0, 0x001F};
  ExpectRefused(s, "overlapping masks");
  s.masks = {0xF000 | 0x0100, 0x07E0 & ~0x0100, 0x001F};
  ExpectRefused(s, "split mask");
  s.masks = {0xF8000, 0x07E0, 0x001F};
  ExpectRefused(s, "mask beyond 16 bits");
  s.masks = {0xF800, 0x07E0};
  s.pixels.clear();
  ExpectRefused(s, "masks cut off");
}

TEST_F(BmpHostile, RunLengthData) {
  WorkPicture pic;
  EXPECT_TRUE(Decode(Rle8({4, 1, 0, 0, 4, 2, 0, 1}), pic)) << "well formed";
  ExpectRefused(Rle8({5, 1, 0, 1}), "run past the row end");
  ExpectRefused(Rle8({2, 1, 3, 1, 0, 1}), "second run past the row end");
  ExpectRefused(Rle8({0, 5, 1, 2, 3, 4, 5, 0, 0, 1}), "absolute block past the row end");
  ExpectRefused(Rle8({0, 4, 1, 2}), "absolute block past the data");
  ExpectRefused(Rle8({0, 2, 5, 0}), "delta past the right edge");
  ExpectRefused(Rle8({0, 2, 0, 3, 0, 1}), "delta past the top");
  ExpectRefused(Rle8({0, 0, 0, 0, 0, 0, 1, 1}), "lines past the top");
  ExpectRefused(Rle8({4, 1}), "data ends before the picture does");
  ExpectRefused(Rle8({0, 2, 1}), "delta cut off");
  BmpSpec s = Rle8({4, 1, 0, 0, 4, 2, 0, 1});
  s.imageSize = 4;  // the declared size ends the data early
  ExpectRefused(s, "data size cut");
  // Filling every row without an end marker is complete.
  EXPECT_TRUE(Decode(Rle8({4, 1, 0, 0, 4, 2, 0, 0}), pic));
  BmpSpec f = Rle8({5, 0x12, 0, 1});
  f.bitCount = 4;
  f.compression = 2;
  f.palette = Palette(16);
  ExpectRefused(f, "RLE4 run past the row end");
  f.pixels = {0, 5, 0x12, 0x34, 0x50, 0, 0, 1};
  ExpectRefused(f, "RLE4 absolute past the row end");
}

}  // namespace
}  // namespace vantilo
