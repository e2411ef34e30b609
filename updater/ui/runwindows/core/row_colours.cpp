#include "ui/runwindows/core/row_colours.h"

#include <cwchar>

namespace qxu {

namespace {
bool Is(const wchar_t* status, const wchar_t* text) { return status && std::wcscmp(status, text) == 0; }
constexpr Rgb kBlack{0, 0, 0};
}  // namespace

RowColours ChooseRowColours(bool selected, const wchar_t* status, int stateImage) {
  if (selected) return {{0, 0, 255}, {255, 255, 0}};
  if (Is(status, kRowDownloading)) return {{192, 255, 255}, kBlack};
  if (Is(status, kRowDownloaded)) return {{240, 255, 255}, kBlack};
  if (stateImage == kMarkOn) return {{255, 224, 255}, kBlack};
  if (stateImage == kMarkOff) {
    if (Is(status, kRowChecking)) return {{255, 255, 224}, kBlack};
    if (Is(status, kRowUnknown)) return {{224, 224, 224}, {128, 128, 128}};
  }
  return {{255, 255, 255}, kBlack};
}

int CheckIconFor(int stateImage) { return stateImage == kMarkOn ? kIconCheckTicked : kIconCheckEmpty; }

int SwitchedMark(int stateImage) { return stateImage == kMarkOn ? kMarkOff : kMarkOn; }

}  // namespace qxu
