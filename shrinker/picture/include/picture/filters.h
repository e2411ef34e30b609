// Shrinking and pixel filters. All of them require Bgr24 pictures and
// return false otherwise. Source and destination may be the same picture.
// The real arithmetic runs in x87 extended precision with doubles stored at
// fixed points, because output sizes and bytes depend on it.
#pragma once

#include "picture/work_picture.h"

namespace vantilo {

// Clamp to 0..255 (NaN gives 0), then round half to even.
int ClampRound(double x);

// New size of a W x H picture fitted into the box, never enlarged. False
// when a side comes out 0 or less. A non-square box that would widen the
// picture (W < boxWidth, H == boxHeight) keeps the source width instead.
bool FitSize(int width, int height, int boxWidth, int boxHeight, int& newWidth, int& newHeight);

// Fits the source into the box keeping its aspect ratio. False (destination
// then holds a copy of the source) when the fitted size has a side of 0.
bool ShrinkFit(const WorkPicture& source, WorkPicture& destination, int boxWidth, int boxHeight);

// Area-averaging passes; the destination must already have its new width
// (horizontal) or new height (vertical) and the other side of the source.
bool ResampleHorizontal(const WorkPicture& source, WorkPicture& destination);
bool ResampleVertical(const WorkPicture& source, WorkPicture& destination);

struct Hsv {
  int hue = 0;            // 0..359
  double saturation = 0;  // 0..1
  int value = 0;          // 0..255
};
Hsv RgbToHsv(int c0, int c1, int c2);

struct Channels {
  int o0 = 0;
  int o1 = 0;
  int o2 = 0;
};
Channels HsvToRgb(int hue, int value, double saturation);

// The shrinker passes amount 140; below 0 counts as 0.
bool RaiseSaturation(const WorkPicture& source, WorkPicture& destination, int amount);

// Four-neighbour unsharp filter, in place, strength 0..150 from the window.
bool Sharpen(const WorkPicture& source, WorkPicture& destination, int strength);

}  // namespace vantilo
