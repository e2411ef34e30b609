#include "ui/runwindows/core/run_layout.h"

namespace qxu {

ConfirmLayout LayOutConfirm(int cw, int ch, int bw, int bh) {
  ConfirmLayout l;
  int buttonY = ch - bh - 5;
  l.closeButton = {cw - bw - 5, buttonY, bw, bh};
  l.actionButton = {cw - 2 * bw - 5, buttonY, bw, bh};
  l.downloadBar = {5, buttonY, cw - 2 * bw - 10, bh};
  l.list = {5, 5, cw - 10, ch - bh - 15};
  return l;
}

ListColumns SplitColumns(int listWidth, int scrollBarWidth) {
  int w = listWidth - scrollBarWidth;
  return {w * 5 / 8, w * 3 / 8};
}

ProgressLayout LayOutProgress(int cw, int ch, int bw, int bh) {
  ProgressLayout l;
  l.lineWidth = cw - 8;
  l.buttonX = cw / 2 - bw / 2;
  l.buttonY = ch - bh - 4;
  return l;
}

StoredRect ConfirmOpeningRect(StoredRect stored) {
  if (stored.width < kMinStoredSize || stored.height < kMinStoredSize) {
    stored.width = 400;
    stored.height = 600;
  }
  return stored;
}

bool ProgressTakesStoredRect(const StoredRect& stored) {
  return stored.width >= kMinStoredSize && stored.height >= kMinStoredSize;
}

}  // namespace qxu
