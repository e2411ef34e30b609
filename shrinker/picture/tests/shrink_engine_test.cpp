#include <gtest/gtest.h>

#include "picture/filters.h"
#include "picture/jpeg_writer.h"
#include "picture/load_picture.h"
#include "picture/preview.h"
#include "picture/shrink_engine.h"
#include "test_pictures.h"

namespace vantilo {
namespace {

using test::ExifBlock;
using test::MakeColourJpeg;

// The whole-picture functions one after another, as the window ran them.
bool OneByOne(const std::string& path, const ShrinkOptions& o, ShrinkResult& r) {
  WorkPicture p;
  if (!LoadPicture(path, p, o.upright) || !p.ConvertTo24Bits()) return false;
  if (o.saturation && !RaiseSaturation(p, p, 140)) return false;
  if (!ShrinkFit(p, p, o.boxWidth, o.boxHeight)) return false;
  if (o.sharpen && !Sharpen(p, p, o.strength)) return false;
  if (o.targetBytes >= 0) {
    SizedJpeg sized;
    if (!EncodeJpegWithinSize(p, o.jpeg, o.targetBytes, sized)) return false;
    r.quality = sized.quality;
    r.jpeg = std::move(sized.bytes);
    return true;
  }
  r.quality = o.jpeg.quality;
  return EncodeJpeg(p, o.jpeg, r.jpeg);
}

class Engine : public ::testing::Test {
 protected:
  void Expect(const std::string& name, const ShrinkOptions& o, const char* what) {
    ShrinkResult want, got;
    const bool wantOk = OneByOne(dir.Path(name), o, want);
    const bool gotOk = ShrinkFile(dir.Path(name), o, got);
    ASSERT_EQ(gotOk, wantOk) << name << ": " << what;
    EXPECT_EQ(got.quality, want.quality) << name << ": " << what;
    EXPECT_TRUE(got.jpeg == want.jpeg) << name << ": " << what;
  }
  test::ScratchDir dir;
};

TEST_F(Engine, SameBytesAsTheWholePictureFunctions) {
  dir.Write("photo.jpg", MakeColourJpeg(test::PhotoLikePicture(700, 500, 1), 92));
  dir.Write("gray.jpg", test::MakeGrayJpeg(300, 200, 2));
  dir.Write("noise.png", test::MakePng(333, 517, 2, 8, [] {
              const WorkPicture n = test::NoisePicture(333, 517, 3);
              std::vector<std::uint8_t> s;
              for (int y = 0; y < n.Height(); ++y) s.insert(s.end(), n.Row(y), n.Row(y) + n.RowBytes());
              return s;
            }(), false));
  struct Case {
    const char* what;
    ShrinkOptions o;
  };
  std::vector<Case> cases;
  ShrinkOptions o;
  cases.push_back({"defaults", o});
  o.boxWidth = o.boxHeight = 160;
  cases.push_back({"box 160", o});
  o.saturation = true;
  cases.push_back({"saturation", o});
  o.sharpen = false;
  cases.push_back({"no sharpening", o});
  o.sharpen = true;
  o.strength = 150;
  o.jpeg.gray = true;
  o.jpeg.progressive = true;
  o.jpeg.quality = 40;
  cases.push_back({"gray progressive 40", o});
  o = ShrinkOptions();
  o.boxWidth = 300;
  o.boxHeight = 100;
  cases.push_back({"custom box", o});
  o.boxWidth = o.boxHeight = 4000;
  cases.push_back({"inside the box", o});
  o.boxWidth = 700;
  cases.push_back({"one side equal", o});
  for (const char* name : {"photo.jpg", "gray.jpg", "noise.png"})
    for (const Case& c : cases) Expect(name, c.o, c.what);
}

TEST_F(Engine, SizeSearchFindsTheSameQuality) {
  dir.Write("photo.jpg", MakeColourJpeg(test::PhotoLikePicture(900, 700, 4), 92));
  ShrinkOptions o;
  o.boxWidth = o.boxHeight = 400;
  for (std::int64_t target : {std::int64_t{1000} * 1024, std::int64_t{30} * 1024, std::int64_t{12} * 1024,
                              std::int64_t{1024}, std::int64_t{0}}) {
    o.targetBytes = target;
    Expect("photo.jpg", o, "size mode");
    o.jpeg.progressive = true;
    Expect("photo.jpg", o, "size mode, progressive");
    o.jpeg.progressive = false;
  }
  // A target met exactly is accepted.
  ShrinkResult at60;
  o.targetBytes = -1;
  o.jpeg.quality = 60;
  ASSERT_TRUE(ShrinkFile(dir.Path("photo.jpg"), o, at60));
  o.targetBytes = static_cast<std::int64_t>(at60.jpeg.size());
  ShrinkResult exact;
  ASSERT_TRUE(ShrinkFile(dir.Path("photo.jpg"), o, exact));
  EXPECT_GE(exact.quality, 60);
  Expect("photo.jpg", o, "exact target");
}

TEST_F(Engine, TurnedPhotosAndFailuresAsTheWholePictureFunctions) {
  const WorkPicture pic = test::PhotoLikePicture(320, 240, 6);
  for (int orientation : {1, 2, 3, 6, 8}) {
    dir.Write("o.jpg", MakeColourJpeg(pic, 90, false, ExifBlock(orientation, false)));
    ShrinkOptions o;
    o.boxWidth = o.boxHeight = 200;
    Expect("o.jpg", o, "upright");
    o.upright = false;
    Expect("o.jpg", o, "as stored");
  }
  std::vector<std::uint8_t> cut = MakeColourJpeg(pic, 90);
  cut.resize(cut.size() / 2);
  dir.Write("cut.jpg", cut);
  dir.Write("cmyk.jpg", test::MakeCmykJpeg(40, 30));
  dir.Write("empty.png", {});
  dir.Write("wide.bmp", test::MakeBmp([] {
              test::BmpSpec b;
              b.width = 10000;
              b.height = 1;
              b.pixels.assign(30000, 9);
              return b;
            }()));
  ShrinkOptions o;
  o.boxWidth = o.boxHeight = 160;
  for (const char* name : {"cut.jpg", "cmyk.jpg", "empty.png", "missing.jpg", "wide.bmp"}) {
    ShrinkResult r;
    EXPECT_FALSE(ShrinkFile(dir.Path(name), o, r)) << name;
    EXPECT_TRUE(r.jpeg.empty()) << name;
  }
}

TEST_F(Engine, ABatchKeepsItsOrderAndShowsEachPicture) {
  // Pictures handed in at once come out as one by one, each with its
  // preview, a failure in between costing only itself.
  dir.Write("a.jpg", MakeColourJpeg(test::PhotoLikePicture(640, 480, 7), 90));
  dir.Write("b.txt.jpg", {'n', 'o'});
  dir.Write("c.jpg", MakeColourJpeg(test::PhotoLikePicture(480, 640, 8), 90));
  dir.Write("wide.bmp", test::MakeBmp([] {
              test::BmpSpec b;
              b.width = 10000;
              b.height = 1;
              b.pixels.assign(30000, 9);
              return b;
            }()));
  ShrinkOptions o;
  o.boxWidth = o.boxHeight = 160;
  o.previewWidth = 200;
  o.previewHeight = 150;
  ShrinkEngine engine;
  std::vector<ShrinkEngine::Ticket> tickets;
  const char* names[] = {"a.jpg", "b.txt.jpg", "wide.bmp", "c.jpg", "a.jpg"};
  for (const char* name : names) tickets.push_back(engine.Submit(dir.Path(name), o));
  for (std::size_t i = 0; i < tickets.size(); ++i) {
    WorkPicture preview;
    const bool loaded = engine.WaitLoaded(tickets[i], preview);
    EXPECT_EQ(loaded, i != 1) << names[i];
    if (loaded) {
      WorkPicture whole, want;
      ASSERT_TRUE(LoadPicture(dir.Path(names[i]), whole));
      ASSERT_TRUE(whole.ConvertTo24Bits());
      ASSERT_TRUE(MakePreview(whole, 200, 150, want));
      EXPECT_TRUE(test::SamePixels(preview, want)) << names[i];
    }
    ShrinkResult got, want;
    const bool ok = engine.WaitDone(tickets[i], got);
    ASSERT_EQ(ok, OneByOne(dir.Path(names[i]), o, want)) << names[i];
    EXPECT_TRUE(got.jpeg == want.jpeg) << names[i];
  }
}

TEST(Preview, SmallCopyOfTheWholePicture) {
  const WorkPicture flat = test::UniformPicture(4000, 3000, 10, 200, 30);
  WorkPicture p;
  ASSERT_TRUE(MakePreview(flat, 200, 150, p));
  EXPECT_TRUE(test::SamePixels(p, test::UniformPicture(200, 150, 10, 200, 30)));
  // A picture smaller than the preview is enlarged, each pixel a block.
  WorkPicture tiny;
  ASSERT_TRUE(tiny.SetSize(2, 1));
  const std::uint8_t px[6] = {0, 0, 0, 255, 255, 255};
  std::copy(px, px + 6, tiny.Row(0));
  ASSERT_TRUE(MakePreview(tiny, 4, 3, p));
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(p.Row(y)[0], 0);
    EXPECT_EQ(p.Row(y)[3 * 3], 255);
  }
  EXPECT_FALSE(MakePreview(tiny, 0, 10, p));
}

}  // namespace
}  // namespace vantilo
