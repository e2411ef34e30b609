// Phones store pictures as the sensor saw them and the way up in the EXIF
// orientation tag; these turn such a picture upright.
#pragma once

#include <cstddef>
#include <cstdint>

#include "picture/work_picture.h"

namespace vantilo {

// The EXIF orientation (1..8) of a JPEG file image. 1 when the file has no
// EXIF block, no tag, a value outside 1..8, or when the block is malformed
// or cut off.
int ExifOrientation(const std::uint8_t* data, std::size_t size);

// Where upright pixel (x, y) lies in the stored picture of the given size.
struct StoredPoint {
  int x, y;
};
StoredPoint StoredPointOf(int orientation, int storedWidth, int storedHeight, int x, int y);

// True for the orientations that exchange width and height (5..8).
bool SwapsSides(int orientation);

// The upright picture of a Bgr24 or Indexed8 picture stored with the orientation; 1 (or
// any value outside 2..8) leaves it as it is.
bool TurnUpright(WorkPicture& picture, int orientation);

}  // namespace vantilo
