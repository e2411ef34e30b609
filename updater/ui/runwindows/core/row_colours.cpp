#include "ui/runwindows/core/row_colours.h"

namespace qxu {

namespace {
constexpr Rgb kBlack{0, 0, 0};
}  // namespace

RowColours ChooseRowColours(bool selected, RowState state, int stateImage) {
  if (selected) return {{0, 0, 255}, {255, 255, 0}};
  if (state == RowState::Downloading) return {{192, 255, 255}, kBlack};
  if (state == RowState::Downloaded) return {{240, 255, 255}, kBlack};
  if (stateImage == kMarkOn) return {{255, 224, 255}, kBlack};
  if (stateImage == kMarkOff) {
    if (state == RowState::Checking) return {{255, 255, 224}, kBlack};
    if (state == RowState::Unknown) return {{224, 224, 224}, {128, 128, 128}};
  }
  return {{255, 255, 255}, kBlack};
}

int CheckIconFor(int stateImage) { return stateImage == kMarkOn ? kIconCheckTicked : kIconCheckEmpty; }

int SwitchedMark(int stateImage) { return stateImage == kMarkOn ? kMarkOff : kMarkOn; }

}  // namespace qxu
