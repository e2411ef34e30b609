// Four-neighbour unsharp filter.
#include <cstdint>
#include <vector>

#include "extended_precision.h"
#include "picture/filters.h"
#include "sharpen_kernel.h"

namespace vantilo {

bool Sharpen(const WorkPicture& source, WorkPicture& destination, int strength) {
  if (source.Format() != PixelFormat::Bgr24) return false;
  const int width = source.Width();
  const int height = source.Height();
  // A separate destination gets the pure filter of the source; with one
  // picture the reads of the left and upper neighbours see bytes this pass
  // has already replaced, which is part of the filter's result.
  if (&source != &destination && !destination.SetSize(width, height)) return false;
  ExtendedPrecisionScope precision;
  if (!precision.Ok()) return false;
  SharpenMemo memo(strength);
  std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) rows[y] = source.Row(y);
  const int bytes = 3 * width;
  for (int y = 0; y < height; ++y) {
    // At the borders the missing neighbour is the pixel itself; pointing
    // the row above or below at the own row gives exactly that.
    const std::uint8_t* cur = rows[y];
    const std::uint8_t* up = y > 0 ? rows[y - 1] : cur;
    const std::uint8_t* down = y + 1 < height ? rows[y + 1] : cur;
    SharpenRow(memo, up, cur, down, destination.Row(y), bytes);
  }
  return true;
}

}  // namespace vantilo
