#include <gtest/gtest.h>

#include "picture/load_picture.h"
#include "picture/orientation.h"
#include "test_pictures.h"

namespace vantilo {
namespace {

using test::ExifBlock;
using test::MakeColourJpeg;
using test::SamePixels;

// The test's own upright turn, built from plain mirror and quarter-turn
// steps rather than a coordinate table.
WorkPicture Mirror(const WorkPicture& p) {
  WorkPicture out;
  out.SetSize(p.Width(), p.Height());
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x)
      for (int c = 0; c < 3; ++c) out.Row(y)[3 * x + c] = p.Row(y)[3 * (p.Width() - 1 - x) + c];
  return out;
}

WorkPicture Clockwise(const WorkPicture& p) {
  WorkPicture out;
  out.SetSize(p.Height(), p.Width());
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x)
      for (int c = 0; c < 3; ++c) out.Row(y)[3 * x + c] = p.Row(p.Height() - 1 - x)[3 * y + c];
  return out;
}

WorkPicture Turns(WorkPicture p, int quarterTurns) {
  for (int i = 0; i < quarterTurns; ++i) p = Clockwise(p);
  return p;
}

// What a viewer shows for a picture stored with the orientation.
WorkPicture ViewerUpright(const WorkPicture& stored, int orientation) {
  switch (orientation) {
    case 2: return Mirror(stored);
    case 3: return Turns(stored, 2);
    case 4: return Turns(Mirror(stored), 2);
    case 5: return Turns(Mirror(stored), 3);
    case 6: return Turns(stored, 1);
    case 7: return Turns(Mirror(stored), 1);
    case 8: return Turns(stored, 3);
    default: { WorkPicture copy; copy.CopyFrom(stored); return copy; }
  }
}

// The stored picture that a viewer shows upright as the given one.
WorkPicture StoredFor(const WorkPicture& upright, int orientation) {
  const int inverse[9] = {1, 1, 2, 3, 4, 5, 8, 7, 6};
  return ViewerUpright(upright, inverse[orientation]);
}

WorkPicture Letters() {
  // a b c
  // d e f   one pixel each, channel 0 holding the letter
  WorkPicture p;
  p.SetSize(3, 2);
  const char letters[] = "abcdef";
  for (int i = 0; i < 6; ++i) {
    std::uint8_t* px = p.Row(i / 3) + 3 * (i % 3);
    px[0] = static_cast<std::uint8_t>(letters[i]);
    px[1] = px[2] = 0;
  }
  return p;
}

std::string Text(const WorkPicture& p) {
  std::string s;
  for (int y = 0; y < p.Height(); ++y) {
    if (y) s += '/';
    for (int x = 0; x < p.Width(); ++x) s += static_cast<char>(p.Row(y)[3 * x]);
  }
  return s;
}

TEST(Orientation, EachValueTurnsTheWayAViewerShowsIt) {
  const char* expected[9] = {"", "abc/def", "cba/fed", "fed/cba", "def/abc", "ad/be/cf", "da/eb/fc", "fc/eb/da",
                             "cf/be/ad"};
  for (int o = 1; o <= 8; ++o) {
    WorkPicture p = Letters();
    ASSERT_TRUE(TurnUpright(p, o));
    EXPECT_EQ(Text(p), expected[o]) << o;
    EXPECT_EQ(Text(ViewerUpright(Letters(), o)), expected[o]) << o;
    EXPECT_EQ(SwapsSides(o), o >= 5);
  }
  for (int other : {0, 9, -1, 65535}) {
    WorkPicture p = Letters();
    ASSERT_TRUE(TurnUpright(p, other));
    EXPECT_EQ(Text(p), "abc/def");
  }
}

TEST(Orientation, IndexedPicturesKeepTheirPalette) {
  WorkPicture p;
  ASSERT_TRUE(p.SetIndexedSize(3, 1));
  p.Row(0)[0] = 1;
  p.Row(0)[1] = 2;
  p.Row(0)[2] = 3;
  p.Palette()[2] = PaletteEntry{9, 8, 7};
  ASSERT_TRUE(TurnUpright(p, 6));
  ASSERT_EQ(p.Format(), PixelFormat::Indexed8);
  EXPECT_EQ(p.Width(), 1);
  EXPECT_EQ(p.Height(), 3);
  EXPECT_EQ(p.Row(1)[0], 2);
  EXPECT_EQ(p.Palette()[2].blue, 9);
}

TEST(ExifReading, FindsTheTagInBothByteOrders) {
  const WorkPicture pic = test::NoisePicture(16, 8, 3);
  for (bool big : {false, true})
    for (int o = 1; o <= 8; ++o) {
      const auto file = MakeColourJpeg(pic, 90, false, ExifBlock(o, big));
      EXPECT_EQ(ExifOrientation(file.data(), file.size()), o) << o << (big ? " MM" : " II");
    }
  const auto plain = MakeColourJpeg(pic, 90);
  EXPECT_EQ(ExifOrientation(plain.data(), plain.size()), 1);
}

TEST(ExifReading, MalformedOrCutBlocksGiveOne) {
  const WorkPicture pic = test::NoisePicture(16, 8, 3);
  const std::vector<std::uint8_t> good = ExifBlock(6, false);
  // Every cut of the block, inside a file whose segment length says so.
  for (std::size_t n = 0; n < good.size() - 1; ++n) {
    const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    const auto file = MakeColourJpeg(pic, 90, false, cut.empty() ? std::vector<std::uint8_t>{'x'} : cut);
    const int o = ExifOrientation(file.data(), file.size());
    EXPECT_EQ(o, 1) << n;
  }
  // Values and shapes that are not an orientation.
  auto patched = [&](std::size_t at, std::uint8_t v) {
    std::vector<std::uint8_t> b = good;
    b[at] = v;
    return MakeColourJpeg(pic, 90, false, b);
  };
  // Entry 2 starts at 6 + 8 + 2 + 12 = 28: tag, type, count, value.
  for (const auto& file : {patched(28 + 8, 0), patched(28 + 8, 9), patched(28 + 2, 4), patched(28 + 4, 2),
                           patched(6 + 4, 0xF0), patched(6 + 8, 0xFF), patched(6, 'X'), patched(6 + 2, 41)})
    EXPECT_EQ(ExifOrientation(file.data(), file.size()), 1);
  // Every cut of a whole file: never read past the end, never a wrong value.
  const auto file = MakeColourJpeg(pic, 90, false, good);
  for (std::size_t n = 0; n < 200 && n < file.size(); ++n) {
    const int o = ExifOrientation(file.data(), n);
    EXPECT_TRUE(o == 1 || (o == 6 && n >= 4 + 2 + good.size())) << n << " " << o;
  }
  EXPECT_EQ(ExifOrientation(nullptr, 0), 1);
}

class UprightLoading : public ::testing::Test {
 protected:
  test::ScratchDir dir;
};

TEST_F(UprightLoading, EightOrientationsOfOnePictureComeOutTheSame) {
  // Flat 8 x 8 blocks at full chroma decode to exactly their colours, so
  // each stored variant decodes to the turned picture of the others.
  WorkPicture upright;
  ASSERT_TRUE(upright.SetSize(48, 32));
  test::Lcg rng(5);
  for (int by = 0; by < 4; ++by)
    for (int bx = 0; bx < 6; ++bx) {
      const std::uint8_t c[3] = {static_cast<std::uint8_t>(rng.Below(256)), static_cast<std::uint8_t>(rng.Below(256)),
                                 static_cast<std::uint8_t>(rng.Below(256))};
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
          for (int k = 0; k < 3; ++k) upright.Row(8 * by + y)[3 * (8 * bx + x) + k] = c[k];
    }
  WorkPicture first;
  for (int o = 1; o <= 8; ++o) {
    const std::string name = "o" + std::to_string(o) + ".jpg";
    dir.Write(name, MakeColourJpeg(StoredFor(upright, o), 100, true, ExifBlock(o, o % 2 == 0)));
    WorkPicture got;
    ASSERT_TRUE(LoadPicture(dir.Path(name), got, true)) << o;
    EXPECT_EQ(got.Width(), 48) << o;
    EXPECT_EQ(got.Height(), 32) << o;
    if (o == 1) first.CopyFrom(got);
    else EXPECT_TRUE(SamePixels(got, first)) << o;
    // As stored when not asked to turn it.
    WorkPicture stored;
    ASSERT_TRUE(LoadPicture(dir.Path(name), stored, false));
    EXPECT_EQ(stored.Width(), o >= 5 ? 32 : 48) << o;
  }
}

TEST_F(UprightLoading, PhotoTurnsLikeAViewerAndUntaggedFilesStayAsTheyWere) {
  const WorkPicture pic = test::PhotoLikePicture(61, 37, 4);
  dir.Write("plain.jpg", MakeColourJpeg(pic, 92));
  WorkPicture plain, asked;
  ASSERT_TRUE(LoadPicture(dir.Path("plain.jpg"), plain, false));
  ASSERT_TRUE(LoadPicture(dir.Path("plain.jpg"), asked, true));
  EXPECT_TRUE(SamePixels(plain, asked));
  for (int o = 1; o <= 8; ++o) {
    dir.Write("t.jpg", MakeColourJpeg(pic, 92, false, ExifBlock(o, true)));
    WorkPicture got;
    ASSERT_TRUE(LoadPicture(dir.Path("t.jpg"), got, true));
    EXPECT_TRUE(SamePixels(got, ViewerUpright(plain, o))) << o;
  }
  // A broken EXIF block costs nothing but the turn.
  std::vector<std::uint8_t> broken = ExifBlock(6, false);
  broken.resize(20);
  dir.Write("b.jpg", MakeColourJpeg(pic, 92, false, broken));
  WorkPicture got;
  ASSERT_TRUE(LoadPicture(dir.Path("b.jpg"), got, true));
  EXPECT_TRUE(SamePixels(got, plain));
}

}  // namespace
}  // namespace vantilo
