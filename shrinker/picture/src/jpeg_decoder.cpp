// JPEG reading through libjpeg: full scale, block smoothing off, colour to
// blue-green-red, one-component files through the 236-colour quantiser.
#include <climits>
#include <cstring>

#include "jpeg_trap.h"
#include "picture/load_picture.h"

namespace vantilo {

namespace {

constexpr int kGrayColours = 236;

// Only trivially destructible locals here: libjpeg errors longjmp back to
// the setjmp below.
bool DecodeJpegTrapped(jpeg_decompress_struct* cinfo, JpegTrap* trap, const std::uint8_t* data,
                       std::size_t size, WorkPicture* picture) {
  InstallJpegTrap(reinterpret_cast<j_common_ptr>(cinfo), trap);
  if (setjmp(trap->jump)) return false;
  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) return false;

  bool gray = false;
  switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
      gray = true;
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
  const int width = static_cast<int>(cinfo->output_width);
  const int height = static_cast<int>(cinfo->output_height);
  if (gray) {
    if (cinfo->out_color_components != 1 || !cinfo->colormap ||
        cinfo->actual_number_of_colors <= 0 || cinfo->actual_number_of_colors > 256)
      return false;
    if (!picture->SetIndexedSize(width, height)) return false;
    for (int i = 0; i < cinfo->actual_number_of_colors; ++i) {
      const std::uint8_t level = cinfo->colormap[0][i];
      picture->Palette()[i] = PaletteEntry{level, level, level};
    }
  } else {
    if (cinfo->output_components != 3 || !picture->SetSize(width, height)) return false;
  }
  JSAMPROW rows[16];
  while (cinfo->output_scanline < cinfo->output_height) {
    const JDIMENSION first = cinfo->output_scanline;
    JDIMENSION count = cinfo->output_height - first;
    if (count > 16) count = 16;
    for (JDIMENSION i = 0; i < count; ++i) rows[i] = picture->Row(static_cast<int>(first + i));
    if (jpeg_read_scanlines(cinfo, rows, count) == 0) return false;
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, WorkPicture& picture) {
  picture.Clear();
  if (!data || size == 0 || size > ULONG_MAX) return false;
  jpeg_decompress_struct cinfo;
  JpegTrap trap;
  std::memset(&cinfo, 0, sizeof cinfo);
  const bool ok = DecodeJpegTrapped(&cinfo, &trap, data, size, &picture);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) picture.Clear();
  return ok;
}

}  // namespace vantilo
