#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include <thread>

#include "extended_precision.h"
#include "picture/filters.h"
#include "reference_filters.h"
#include "test_pictures.h"

namespace vantilo {
namespace {

using test::NoisePicture;
using test::PhotoLikePicture;
using test::SamePixels;
using test::UniformPicture;

class ExtendedArithmetic : public ::testing::Test {
 protected:
  // The references compute in the thread's own precision; make it extended
  // as the production code does for itself.
  ExtendedPrecisionScope precision_;
};

TEST_F(ExtendedArithmetic, PrecisionControlIsSetAndRestored) {
  EXPECT_TRUE(precision_.Ok());
  EXPECT_TRUE(ExtendedPrecisionScope::IsExtended());
  // 1280/1570*1256 lies just below 1024 only with a 64-bit significand.
  volatile long double box = 1280, w = 1570, h = 1256;
  EXPECT_LT(box / w * h, 1024.0L);
}

TEST(PrecisionControl, FiltersSetItThemselves) {
  WorkPicture pic = PhotoLikePicture(300, 200, 12);
  WorkPicture expected;
  {
    ExtendedPrecisionScope precision;
    expected.CopyFrom(pic);
    reference::RaiseSaturation(expected, 140);
    expected = reference::Resize(expected, 157, 104);
    reference::Sharpen(expected, 80);
  }
  int w = 0, h = 0;
  bool fitted = false, filtered = false, restored = false;
  std::thread worker([&] {
    ExtendedPrecisionScope::SetDoubleForTesting();
    ASSERT_FALSE(ExtendedPrecisionScope::IsExtended());
    fitted = FitSize(1570, 1256, 1280, 1280, w, h);
    filtered = RaiseSaturation(pic, pic, 140) && ShrinkFit(pic, pic, 157, 157) && Sharpen(pic, pic, 80);
    restored = !ExtendedPrecisionScope::IsExtended();  // the caller's setting comes back
  });
  worker.join();
  ASSERT_TRUE(fitted);
  EXPECT_EQ(h, 1023);  // 1024 with a 53-bit significand
  ASSERT_TRUE(filtered);
  EXPECT_TRUE(SamePixels(pic, expected));
  EXPECT_TRUE(restored);
}

TEST(ClampRoundTest, ClampsAndRoundsHalfToEven) {
  EXPECT_EQ(ClampRound(2.5), 2);
  EXPECT_EQ(ClampRound(3.5), 4);
  EXPECT_EQ(ClampRound(0.5), 0);
  EXPECT_EQ(ClampRound(254.5), 254);
  EXPECT_EQ(ClampRound(2.5000000001), 3);
  EXPECT_EQ(ClampRound(-0.3), 0);
  EXPECT_EQ(ClampRound(300), 255);
  EXPECT_EQ(ClampRound(255), 255);
  EXPECT_EQ(ClampRound(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(ClampRound(-std::numeric_limits<double>::infinity()), 0);
  EXPECT_EQ(ClampRound(std::numeric_limits<double>::infinity()), 255);
  for (int i = 0; i < 2550; ++i) {
    const double x = i / 10.0 - 0.05;
    EXPECT_EQ(ClampRound(x), reference::ClampRound(x)) << x;
  }
}

TEST_F(ExtendedArithmetic, FitSizeVectors) {
  int w = 0, h = 0;
  ASSERT_TRUE(FitSize(1570, 1256, 1280, 1280, w, h));
  EXPECT_EQ(w, 1280);
  EXPECT_EQ(h, 1023);
  ASSERT_TRUE(FitSize(1600, 1200, 1280, 1280, w, h));
  EXPECT_EQ(w, 1280);
  EXPECT_EQ(h, 960);
  ASSERT_TRUE(FitSize(1200, 1600, 1280, 1280, w, h));
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 1280);
  ASSERT_TRUE(FitSize(100, 100, 160, 160, w, h));
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 100);
  ASSERT_TRUE(FitSize(160, 100, 160, 160, w, h));
  EXPECT_EQ(w, 160);
  EXPECT_EQ(h, 100);
  // No item selected: the 40000 box leaves ordinary pictures alone.
  ASSERT_TRUE(FitSize(4000, 3000, 40000, 40000, w, h));
  EXPECT_EQ(w, 4000);
  EXPECT_EQ(h, 3000);
}

TEST_F(ExtendedArithmetic, FitSizeFailsOnZeroSides) {
  int w = 0, h = 0;
  EXPECT_FALSE(FitSize(10000, 1, 160, 160, w, h));
  EXPECT_FALSE(FitSize(1, 10000, 160, 160, w, h));
  EXPECT_FALSE(FitSize(640, 480, 0, 300, w, h));
  EXPECT_FALSE(FitSize(640, 480, 300, 0, w, h));
  EXPECT_FALSE(FitSize(640, 480, -5, 300, w, h));
  EXPECT_FALSE(FitSize(0, 10, 160, 160, w, h));
  // A huge quotient must not overflow on the way to the comparison.
  EXPECT_FALSE(FitSize(1, 1 << 28, 40000, 40000, w, h));
}

TEST_F(ExtendedArithmetic, NonSquareBoxNeverWidens) {
  int w = 0, h = 0;
  ASSERT_TRUE(FitSize(99, 10, 100, 10, w, h));
  EXPECT_EQ(w, 99);
  EXPECT_EQ(h, 10);
  WorkPicture pic = NoisePicture(99, 10, 7);
  const WorkPicture original = NoisePicture(99, 10, 7);
  ASSERT_TRUE(ShrinkFit(pic, pic, 100, 10));
  EXPECT_TRUE(SamePixels(pic, original));
  // Ordinary shrinks through a non-square box are untouched by the rule.
  ASSERT_TRUE(FitSize(1600, 1200, 300, 200, w, h));
  EXPECT_EQ(w, 266);
  EXPECT_EQ(h, 200);
}

TEST_F(ExtendedArithmetic, ShrinkFitSizesAndFailure) {
  WorkPicture pic = PhotoLikePicture(1570, 1256, 3);
  ASSERT_TRUE(ShrinkFit(pic, pic, 1280, 1280));
  EXPECT_EQ(pic.Width(), 1280);
  EXPECT_EQ(pic.Height(), 1023);

  WorkPicture wide = NoisePicture(10000, 1, 1);
  EXPECT_FALSE(ShrinkFit(wide, wide, 160, 160));
  WorkPicture tall = NoisePicture(1, 10000, 1);
  EXPECT_FALSE(ShrinkFit(tall, tall, 160, 160));

  WorkPicture small = NoisePicture(100, 100, 2);
  const WorkPicture copy = NoisePicture(100, 100, 2);
  ASSERT_TRUE(ShrinkFit(small, small, 160, 160));
  EXPECT_TRUE(SamePixels(small, copy));

  WorkPicture indexed;
  indexed.SetIndexedSize(10, 10);
  EXPECT_FALSE(ShrinkFit(indexed, indexed, 5, 5));
}

TEST_F(ExtendedArithmetic, EqualSideResamplesToItself) {
  WorkPicture pic = NoisePicture(160, 100, 11);
  const WorkPicture original = NoisePicture(160, 100, 11);
  ASSERT_TRUE(ShrinkFit(pic, pic, 160, 160));
  EXPECT_TRUE(SamePixels(pic, original));
}

TEST_F(ExtendedArithmetic, UniformWhiteNeverWraps) {
  // The floored partial weights give 251..255, never a wrapped small value;
  // exact bytes come from the reference.
  WorkPicture pic = UniformPicture(1600, 1200, 255, 255, 255);
  const WorkPicture expected = reference::Resize(pic, 1280, 960);
  ASSERT_TRUE(ShrinkFit(pic, pic, 1280, 1280));
  ASSERT_TRUE(SamePixels(pic, expected));
  std::set<int> seen;
  for (int y = 0; y < pic.Height(); ++y)
    for (std::size_t i = 0; i < pic.RowBytes(); ++i) seen.insert(pic.Row(y)[i]);
  EXPECT_GE(*seen.begin(), 250);
  // 1600 into 1280 is not a whole multiple: 254 after the horizontal pass.
  WorkPicture row;
  row.SetSize(1280, 1);
  ASSERT_TRUE(ResampleHorizontal(UniformPicture(1600, 1, 255, 255, 255), row));
  EXPECT_TRUE(SamePixels(row, UniformPicture(1280, 1, 254, 254, 254)));
  // A whole multiple keeps 255 exactly.
  WorkPicture half = UniformPicture(640, 480, 255, 255, 255);
  ASSERT_TRUE(ShrinkFit(half, half, 320, 320));
  EXPECT_TRUE(SamePixels(half, UniformPicture(320, 240, 255, 255, 255)));
}

struct ResizeCase {
  int w, h, box;
};

TEST_F(ExtendedArithmetic, ShrinkMatchesReferenceOnNoise) {
  const ResizeCase cases[] = {{1570, 1256, 1280}, {333, 517, 160}, {641, 479, 640},
                              {1000, 7, 400},     {97, 1300, 320}, {1024, 768, 1024},
                              {3001, 2001, 800},  {2000, 300, 40}};
  std::uint32_t seed = 100;
  for (const ResizeCase& c : cases) {
    WorkPicture pic = NoisePicture(c.w, c.h, ++seed);
    int w = 0, h = 0;
    ASSERT_TRUE(FitSize(c.w, c.h, c.box, c.box, w, h));
    const WorkPicture expected = reference::Resize(pic, w, h);
    ASSERT_TRUE(ShrinkFit(pic, pic, c.box, c.box)) << c.w << "x" << c.h;
    EXPECT_TRUE(SamePixels(pic, expected)) << c.w << "x" << c.h << " into " << c.box;
  }
}

TEST_F(ExtendedArithmetic, SeparateDestinationLeavesSource) {
  const WorkPicture src = NoisePicture(300, 200, 5);
  WorkPicture dst;
  ASSERT_TRUE(ShrinkFit(src, dst, 150, 150));
  EXPECT_TRUE(SamePixels(src, NoisePicture(300, 200, 5)));
  EXPECT_TRUE(SamePixels(dst, reference::Resize(src, 150, 100)));
}

TEST_F(ExtendedArithmetic, ResamplePassesCheckTheirShapes) {
  const WorkPicture src = NoisePicture(40, 30, 9);
  WorkPicture dst;
  dst.SetSize(20, 29);
  EXPECT_FALSE(ResampleHorizontal(src, dst));
  dst.SetSize(39, 15);
  EXPECT_FALSE(ResampleVertical(src, dst));
  // Widening by a direct call clamps instead of wrapping.
  const WorkPicture white = UniformPicture(3, 1, 255, 255, 255);
  dst.SetSize(7, 1);
  ASSERT_TRUE(ResampleHorizontal(white, dst));
  for (std::size_t i = 0; i < dst.RowBytes(); ++i) EXPECT_GE(dst.Row(0)[i], 200);
}

TEST_F(ExtendedArithmetic, HsvConversionsMatchReference) {
  test::Lcg rng(42);
  for (int n = 0; n < 20000; ++n) {
    const int c0 = rng.Below(256), c1 = rng.Below(256), c2 = rng.Below(256);
    const Hsv got = RgbToHsv(c0, c1, c2);
    const reference::Hsv want = reference::RgbToHsv(c0, c1, c2);
    ASSERT_EQ(got.hue, want.hue) << c0 << "," << c1 << "," << c2;
    ASSERT_EQ(got.value, want.value);
    ASSERT_EQ(got.saturation, want.s);
    const double s = rng.Below(1500) / 1000.0;
    const Channels o = HsvToRgb(got.hue, got.value, s);
    int ref[3];
    reference::HsvToRgb(got.hue, got.value, s, ref);
    ASSERT_EQ(o.o0, ref[0]);
    ASSERT_EQ(o.o1, ref[1]);
    ASSERT_EQ(o.o2, ref[2]);
  }
}

TEST_F(ExtendedArithmetic, EveryHueFormulaInputMatchesReference) {
  // The hue depends on the deciding channel, the numerator and the spread
  // only; a 255 in each channel position with all pairs of the other two
  // reaches every such combination, ties included.
  WorkPicture pic;
  ASSERT_TRUE(pic.SetSize(256 * 256, 3));
  for (int top = 0; top < 3; ++top)
    for (int a = 0; a < 256; ++a)
      for (int b = 0; b < 256; ++b) {
        int c[3];
        c[top] = 255;
        c[(top + 1) % 3] = a;
        c[(top + 2) % 3] = b;
        const Hsv got = RgbToHsv(c[0], c[1], c[2]);
        const reference::Hsv want = reference::RgbToHsv(c[0], c[1], c[2]);
        ASSERT_EQ(got.hue, want.hue) << c[0] << "," << c[1] << "," << c[2];
        std::uint8_t* px = pic.Row(top) + 3 * (a * 256 + b);
        for (int k = 0; k < 3; ++k) px[k] = static_cast<std::uint8_t>(c[k]);
      }
  WorkPicture expected;
  expected.CopyFrom(pic);
  reference::RaiseSaturation(expected, 140);
  ASSERT_TRUE(RaiseSaturation(pic, pic, 140));
  EXPECT_TRUE(SamePixels(pic, expected));
}

TEST_F(ExtendedArithmetic, HueTiesFollowTheLaterChannel) {
  // Blue and red share the maximum: the red case decides.
  EXPECT_EQ(RgbToHsv(200, 0, 200).hue, reference::RgbToHsv(200, 0, 200).hue);
  EXPECT_EQ(RgbToHsv(200, 0, 200).hue, 300);
  EXPECT_EQ(RgbToHsv(0, 255, 255).hue, 180);
  EXPECT_EQ(RgbToHsv(10, 10, 10).hue, 0);
  EXPECT_EQ(RgbToHsv(0, 0, 0).saturation, 0);
}

TEST_F(ExtendedArithmetic, SaturationMatchesReferenceOnAllShapes) {
  for (int amount : {140, 0, 100, 250, -20}) {
    WorkPicture pic = NoisePicture(123, 77, 17 + amount);
    WorkPicture expected;
    expected.CopyFrom(pic);
    reference::RaiseSaturation(expected, amount);
    ASSERT_TRUE(RaiseSaturation(pic, pic, amount));
    EXPECT_TRUE(SamePixels(pic, expected)) << amount;
  }
  // Tall enough to be shared between threads.
  WorkPicture big = PhotoLikePicture(400, 600, 4);
  WorkPicture expected;
  expected.CopyFrom(big);
  reference::RaiseSaturation(expected, 140);
  ASSERT_TRUE(RaiseSaturation(big, big, 140));
  EXPECT_TRUE(SamePixels(big, expected));
}

TEST_F(ExtendedArithmetic, SaturationKeepsGrayAndPureChannels) {
  WorkPicture pic;
  pic.SetSize(5, 1);
  const std::uint8_t pixels[15] = {0, 0, 0, 128, 128, 128, 255, 255, 255, 0, 0, 255, 0, 255, 0};
  std::copy(std::begin(pixels), std::end(pixels), pic.Row(0));
  ASSERT_TRUE(RaiseSaturation(pic, pic, 140));
  EXPECT_TRUE(std::equal(std::begin(pixels), std::end(pixels), pic.Row(0)));
}

TEST_F(ExtendedArithmetic, SharpenMatchesInPlaceReference) {
  for (int strength : {80, 0, 50, 100, 150, 13}) {
    WorkPicture pic = NoisePicture(97, 61, 300 + strength);
    WorkPicture expected;
    expected.CopyFrom(pic);
    reference::Sharpen(expected, strength);
    ASSERT_TRUE(Sharpen(pic, pic, strength));
    EXPECT_TRUE(SamePixels(pic, expected)) << strength;
  }
}

TEST_F(ExtendedArithmetic, SharpenZeroAndUniformChangeNothing) {
  WorkPicture pic = NoisePicture(50, 40, 8);
  ASSERT_TRUE(Sharpen(pic, pic, 0));
  EXPECT_TRUE(SamePixels(pic, NoisePicture(50, 40, 8)));
  for (int strength : {1, 80, 150}) {
    WorkPicture flat = UniformPicture(30, 20, 17, 200, 255);
    ASSERT_TRUE(Sharpen(flat, flat, strength));
    EXPECT_TRUE(SamePixels(flat, UniformPicture(30, 20, 17, 200, 255)));
  }
  WorkPicture one = NoisePicture(1, 1, 3);
  ASSERT_TRUE(Sharpen(one, one, 150));
  EXPECT_TRUE(SamePixels(one, NoisePicture(1, 1, 3)));
}

TEST_F(ExtendedArithmetic, SharpenInPlaceDiffersFromSeparateCopy) {
  // The in-place dependence on already sharpened left and upper neighbours
  // is part of the result: a separate destination gives the pure filter.
  const WorkPicture src = NoisePicture(40, 40, 77);
  WorkPicture separate;
  ASSERT_TRUE(Sharpen(src, separate, 100));
  WorkPicture inPlace;
  inPlace.CopyFrom(src);
  ASSERT_TRUE(Sharpen(inPlace, inPlace, 100));
  EXPECT_FALSE(SamePixels(separate, inPlace));
  EXPECT_TRUE(SamePixels(src, NoisePicture(40, 40, 77)));
}

TEST_F(ExtendedArithmetic, PipelineOrderMatchesReference) {
  WorkPicture pic = PhotoLikePicture(1000, 700, 21);
  WorkPicture expected;
  expected.CopyFrom(pic);
  reference::RaiseSaturation(expected, 140);
  expected = reference::Resize(expected, 400, 280);
  reference::Sharpen(expected, 80);
  ASSERT_TRUE(RaiseSaturation(pic, pic, 140));
  ASSERT_TRUE(ShrinkFit(pic, pic, 400, 400));
  ASSERT_TRUE(Sharpen(pic, pic, 80));
  EXPECT_TRUE(SamePixels(pic, expected));
}

}  // namespace
}  // namespace vantilo
