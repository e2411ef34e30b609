// libFuzzer target for one decoder, chosen at build time with
// -DFUZZ_DECODER=DecodeJpeg (or DecodeGif, DecodePng, DecodeBmp).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "picture/filters.h"
#include "picture/load_picture.h"
#include "picture/orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantilo::WorkPicture pic;
  const bool ok = vantilo::FUZZ_DECODER(data, size, pic);
  if (ok != !pic.Empty()) std::abort();
  if (!ok) return 0;
  if (!pic.ConvertTo24Bits()) std::abort();
  // Any file is also a candidate EXIF carrier; the turn must hold any value.
  const int orientation = vantilo::ExifOrientation(data, size);
  if (orientation < 1 || orientation > 8) std::abort();
  if (std::int64_t{pic.Width()} * pic.Height() <= 1 << 16 && !vantilo::TurnUpright(pic, orientation)) std::abort();
  // Push what decoded through the rest of the pipeline while it is cheap.
  if (std::int64_t{pic.Width()} * pic.Height() <= 1 << 16) {
    vantilo::ShrinkFit(pic, pic, 16, 16);
  }
  return 0;
}
