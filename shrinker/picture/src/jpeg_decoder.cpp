// JPEG reading through libjpeg: full scale, block smoothing off, colour to
// blue-green-red, one-component files through the 236-colour quantiser.
#include <climits>
#include <cstring>

#include "jpeg_rows.h"
#include "picture/load_picture.h"

namespace vantilo {

namespace {

constexpr int kGrayColours = 236;

// Only trivially destructible locals in the trapped functions: libjpeg
// errors longjmp back to their setjmp.
bool StartTrapped(jpeg_decompress_struct* cinfo, JpegTrap* trap, const std::uint8_t* data, std::size_t size,
                  bool* indexed) {
  if (setjmp(trap->jump)) return false;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;
  switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
      *indexed = true;
      cinfo->out_color_space = JCS_GRAYSCALE;
      cinfo->quantize_colors = TRUE;
      cinfo->desired_number_of_colors = kGrayColours;
      break;
    case JCS_YCbCr:
    case JCS_RGB:
      // Same samples as RGB output, already in storage order.
      cinfo->out_color_space = JCS_EXT_BGR;
      break;
    default:
      return false;  // CMYK, YCCK and unknown spaces do not become RGB
  }
  cinfo->scale_num = 1;
  cinfo->scale_denom = 1;
  cinfo->do_block_smoothing = FALSE;
  cinfo->buffered_image = FALSE;
  if (std::int64_t{cinfo->image_width} * cinfo->image_height > WorkPicture::kMaxPixels) return false;
  jpeg_start_decompress(cinfo);
  if (*indexed)
    return cinfo->out_color_components == 1 && cinfo->colormap && cinfo->actual_number_of_colors > 0 &&
           cinfo->actual_number_of_colors <= 256;
  return cinfo->output_components == 3;
}

int ReadTrapped(jpeg_decompress_struct* cinfo, JpegTrap* trap, std::uint8_t* const* rows, int count) {
  if (setjmp(trap->jump)) return 0;
  int done = 0;
  while (done < count && cinfo->output_scanline < cinfo->output_height) {
    const JDIMENSION got = jpeg_read_scanlines(cinfo, const_cast<JSAMPARRAY>(rows + done),
                                               static_cast<JDIMENSION>(count - done));
    if (got == 0) return 0;
    done += static_cast<int>(got);
  }
  return done;
}

bool FinishTrapped(jpeg_decompress_struct* cinfo, JpegTrap* trap) {
  if (setjmp(trap->jump)) return false;
  jpeg_finish_decompress(cinfo);
  return true;
}

bool CreateTrapped(jpeg_decompress_struct* cinfo, JpegTrap* trap) {
  InstallJpegTrap(reinterpret_cast<j_common_ptr>(cinfo), trap);
  if (setjmp(trap->jump)) return false;
  jpeg_create_decompress(cinfo);
  return true;
}

}  // namespace

JpegRowReader::JpegRowReader() {
  std::memset(&cinfo_, 0, sizeof cinfo_);
  CreateTrapped(&cinfo_, &trap_);
}

JpegRowReader::~JpegRowReader() { jpeg_destroy_decompress(&cinfo_); }

bool JpegRowReader::Start(const std::uint8_t* data, std::size_t size) {
  if (!data || size == 0 || size > ULONG_MAX || !cinfo_.mem) return false;
  if (!StartTrapped(&cinfo_, &trap_, data, size, &indexed_)) return false;
  width_ = static_cast<int>(cinfo_.output_width);
  height_ = static_cast<int>(cinfo_.output_height);
  if (indexed_)
    for (int i = 0; i < cinfo_.actual_number_of_colors; ++i) {
      const std::uint8_t level = cinfo_.colormap[0][i];
      palette_[i] = PaletteEntry{level, level, level};
    }
  return width_ > 0 && height_ > 0;
}

int JpegRowReader::Read(std::uint8_t* const* rows, int count) { return ReadTrapped(&cinfo_, &trap_, rows, count); }

bool JpegRowReader::Finish() { return FinishTrapped(&cinfo_, &trap_); }

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, WorkPicture& picture) {
  picture.Clear();
  JpegRowReader reader;
  if (!reader.Start(data, size)) return false;
  const int width = reader.Width(), height = reader.Height();
  if (!(reader.Indexed() ? picture.SetIndexedSize(width, height) : picture.SetSize(width, height))) return false;
  if (reader.Indexed()) picture.Palette() = reader.Palette();
  std::uint8_t* rows[16];
  for (int y = 0; y < height;) {
    const int count = height - y < 16 ? height - y : 16;
    for (int i = 0; i < count; ++i) rows[i] = picture.Row(y + i);
    const int got = reader.Read(rows, count);
    if (got <= 0) {
      picture.Clear();
      return false;
    }
    y += got;
  }
  if (!reader.Finish()) {
    picture.Clear();
    return false;
  }
  return true;
}

}  // namespace vantilo
