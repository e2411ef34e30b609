#include <gtest/gtest.h>

#include <jpeglib.h>

#include <cstdlib>

#include "picture/file_utils.h"
#include "picture/jpeg_writer.h"
#include "picture/load_picture.h"
#include "test_pictures.h"

namespace vantilo {
namespace {

// Straight libjpeg use as the encoder is meant to be: RGB samples, the
// defaults, forced-baseline quality, optional gray and progression.
std::vector<std::uint8_t> ReferenceEncode(const WorkPicture& pic, int quality, bool gray, bool progressive) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = pic.Width();
  cinfo.image_height = pic.Height();
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (gray) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> rgb(pic.RowBytes());
  while (cinfo.next_scanline < cinfo.image_height) {
    const std::uint8_t* bgr = pic.Row(cinfo.next_scanline);
    for (int x = 0; x < pic.Width(); ++x) {
      rgb[3 * x] = bgr[3 * x + 2];
      rgb[3 * x + 1] = bgr[3 * x + 1];
      rgb[3 * x + 2] = bgr[3 * x];
    }
    JSAMPROW row = rgb.data();
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

// Frame header: marker C0 (baseline) or C2 (progressive) and component count.
struct Frame {
  int marker = 0;
  int components = 0;
};

Frame FindFrame(const std::vector<std::uint8_t>& j) {
  std::size_t i = 2;
  while (i + 9 < j.size()) {
    if (j[i] != 0xFF) return {};
    const int m = j[i + 1];
    if (m == 0xC0 || m == 0xC1 || m == 0xC2) return {m, j[i + 9]};
    i += 2 + (j[i + 2] << 8 | j[i + 3]);
  }
  return {};
}

TEST(JpegWriting, BytesMatchPlainLibraryUse) {
  const WorkPicture pic = test::NoisePicture(67, 45, 9);
  for (bool gray : {false, true})
    for (bool progressive : {false, true})
      for (int q : {1, 50, 92, 100}) {
        std::vector<std::uint8_t> ours;
        ASSERT_TRUE(EncodeJpeg(pic, JpegOptions{q, gray, progressive}, ours));
        EXPECT_EQ(ours, ReferenceEncode(pic, q, gray, progressive))
            << q << " gray " << gray << " progressive " << progressive;
      }
}

TEST(JpegWriting, GrayAndProgressiveShowInTheFile) {
  const WorkPicture pic = test::PhotoLikePicture(64, 64, 2);
  std::vector<std::uint8_t> bytes;
  ASSERT_TRUE(EncodeJpeg(pic, JpegOptions{100, true, false}, bytes));
  EXPECT_EQ(FindFrame(bytes).components, 1);
  EXPECT_EQ(FindFrame(bytes).marker, 0xC0);
  ASSERT_TRUE(EncodeJpeg(pic, JpegOptions{92, false, true}, bytes));
  EXPECT_EQ(FindFrame(bytes).marker, 0xC2);
  EXPECT_EQ(FindFrame(bytes).components, 3);

  SizedJpeg sized;
  ASSERT_TRUE(EncodeJpegWithinSize(pic, JpegOptions{0, true, true}, 1000 * 1024, sized));
  EXPECT_EQ(FindFrame(sized.bytes).marker, 0xC2);
  EXPECT_EQ(FindFrame(sized.bytes).components, 1);
}

TEST(JpegWriting, RefusesWhatItCannotEncode) {
  std::vector<std::uint8_t> bytes{1, 2, 3};
  WorkPicture empty;
  EXPECT_FALSE(EncodeJpeg(empty, JpegOptions{}, bytes));
  EXPECT_TRUE(bytes.empty());
  WorkPicture indexed;
  indexed.SetIndexedSize(4, 4);
  EXPECT_FALSE(EncodeJpeg(indexed, JpegOptions{}, bytes));
  const WorkPicture pic = test::NoisePicture(8, 8, 1);
  EXPECT_FALSE(EncodeJpeg(pic, JpegOptions{0, false, false}, bytes));
  EXPECT_FALSE(EncodeJpeg(pic, JpegOptions{101, false, false}, bytes));
  // Wider than JPEG allows: a library error, reported and survived.
  WorkPicture wide;
  ASSERT_TRUE(wide.SetSize(70000, 1));
  EXPECT_FALSE(EncodeJpeg(wide, JpegOptions{}, bytes));
}

// The one-by-one search: 100, 99, ... the first that fits, else 1.
int SequentialQuality(const WorkPicture& pic, const JpegOptions& o, std::int64_t target,
                      std::vector<std::uint8_t>& bytes) {
  for (int q = 100; q >= 1; --q) {
    JpegOptions at = o;
    at.quality = q;
    EncodeJpeg(pic, at, bytes);
    if (static_cast<std::int64_t>(bytes.size()) <= target) return q;
  }
  return 1;
}

TEST(JpegSizeSearch, SameChoiceAsOneByOne) {
  const WorkPicture pic = test::PhotoLikePicture(320, 240, 6);
  for (std::int64_t target : {30 * 1024, 12 * 1024, 9000, 6 * 1024}) {
    for (bool progressive : {false, true}) {
      const JpegOptions o{0, false, progressive};
      std::vector<std::uint8_t> expected;
      const int q = SequentialQuality(pic, o, target, expected);
      SizedJpeg got;
      ASSERT_TRUE(EncodeJpegWithinSize(pic, o, target, got));
      EXPECT_EQ(got.quality, q) << target;
      EXPECT_EQ(got.bytes, expected) << target;
    }
  }
}

TEST(JpegSizeSearch, ExactFitLargeAndTinyTargets) {
  const WorkPicture pic = test::PhotoLikePicture(320, 240, 8);
  SizedJpeg got;
  ASSERT_TRUE(EncodeJpegWithinSize(pic, JpegOptions{}, 1000 * 1024, got));
  EXPECT_EQ(got.quality, 100);

  // A target met exactly by quality 90 accepts 90 unless a higher one fits.
  std::vector<std::uint8_t> at90;
  ASSERT_TRUE(EncodeJpeg(pic, JpegOptions{90, false, false}, at90));
  const std::int64_t exact = static_cast<std::int64_t>(at90.size());
  ASSERT_TRUE(EncodeJpegWithinSize(pic, JpegOptions{}, exact, got));
  EXPECT_GE(got.quality, 90);
  EXPECT_LE(static_cast<std::int64_t>(got.bytes.size()), exact);
  std::vector<std::uint8_t> at91;
  ASSERT_TRUE(EncodeJpeg(pic, JpegOptions{91, false, false}, at91));
  if (static_cast<std::int64_t>(at91.size()) > exact) {
    EXPECT_EQ(got.quality, 90);
    EXPECT_EQ(got.bytes, at90);
  }
  ASSERT_TRUE(EncodeJpegWithinSize(pic, JpegOptions{}, exact - 1, got));
  EXPECT_LT(got.quality, 90);

  const WorkPicture big = test::NoisePicture(400, 300, 3);
  ASSERT_TRUE(EncodeJpegWithinSize(big, JpegOptions{}, 1024, got));
  EXPECT_EQ(got.quality, 1);
  EXPECT_GT(got.bytes.size(), 1024u);
  std::vector<std::uint8_t> at1;
  ASSERT_TRUE(EncodeJpeg(big, JpegOptions{1, false, false}, at1));
  EXPECT_EQ(got.bytes, at1);
}

TEST(JpegSizeSearch, WrittenFileIsTheComparedSize) {
  test::ScratchDir dir;
  const WorkPicture pic = test::PhotoLikePicture(200, 150, 4);
  SizedJpeg got;
  const std::int64_t target = 5 * 1024;
  ASSERT_TRUE(EncodeJpegWithinSize(pic, JpegOptions{}, target, got));
  const std::string path = dir.Path("out.jpg");
  ASSERT_TRUE(WriteFileBytes(path, got.bytes));
  EXPECT_EQ(FileSizeOf(path), static_cast<std::int64_t>(got.bytes.size()));
  EXPECT_LE(FileSizeOf(path), target);
  EXPECT_EQ(test::ReadBytes(path), got.bytes);
  WorkPicture back;
  ASSERT_TRUE(LoadPicture(path, back));
  EXPECT_EQ(back.Width(), 200);
  // A write into a missing folder fails and leaves nothing.
  EXPECT_FALSE(WriteFileBytes(dir.Path("no/such/folder/out.jpg"), got.bytes));
}

}  // namespace
}  // namespace vantilo
