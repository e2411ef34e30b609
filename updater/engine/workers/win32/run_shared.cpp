#include "engine/workers/win32/run_shared.h"

namespace qxu {

namespace {
HICON LoadSizedIcon(HMODULE library, int id, int size) {
  return static_cast<HICON>(
      LoadImageW(library, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}
}  // namespace

void RunIcons::Load(HMODULE library) {
  large.reset(LoadSizedIcon(library, 10, 32));
  small.reset(LoadSizedIcon(library, 10, 16));
  for (int i = 0; i < 4; ++i) frames[i].reset(LoadSizedIcon(library, 12 + i, 16));
  checkEmpty.reset(LoadSizedIcon(library, 20, 16));
  checkTicked.reset(LoadSizedIcon(library, 21, 16));
}

RunShared& Shared() {
  static RunShared shared;
  return shared;
}

}  // namespace qxu
