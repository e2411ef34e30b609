// libFuzzer target for one decoder, chosen at build time with
// -DFUZZ_DECODER=DecodeJpeg (or DecodeGif, DecodePng, DecodeBmp).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "picture/filters.h"
#include "picture/load_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantilo::WorkPicture pic;
  const bool ok = vantilo::FUZZ_DECODER(data, size, pic);
  if (ok != !pic.Empty()) std::abort();
  if (!ok) return 0;
  if (!pic.ConvertTo24Bits()) std::abort();
  // Push what decoded through the rest of the pipeline while it is cheap.
  if (std::int64_t{pic.Width()} * pic.Height() <= 1 << 16) {
    vantilo::ShrinkFit(pic, pic, 16, 16);
  }
  return 0;
}
