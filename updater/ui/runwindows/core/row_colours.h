#pragma once
// Colours and check icon of one row of the confirm list.
#include <cstdint>

#include "engine/runrules/core/row_state.h"

namespace qxu {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

struct RowColours {
  Rgb background;
  Rgb text;
};

// Marks of a row, kept as the list's state image.
inline constexpr int kMarkOff = 1;
inline constexpr int kMarkOn = 2;

// Icons of the check column.
inline constexpr int kIconCheckEmpty = 20;
inline constexpr int kIconCheckTicked = 21;

// First fitting line of the row colour table.
RowColours ChooseRowColours(bool selected, RowState state, int stateImage);

int CheckIconFor(int stateImage);

// A click switches the mark: 2 becomes 1, anything else 2.
int SwitchedMark(int stateImage);

// State image <-> list item state bits (mask 0xF000).
inline constexpr unsigned kStateImageMask = 0xF000;
inline unsigned StateBitsFor(int stateImage) { return static_cast<unsigned>(stateImage) << 12; }
inline int StateImageOf(unsigned state) { return static_cast<int>((state & kStateImageMask) >> 12); }

}  // namespace qxu
