#pragma once
// The program icon of the language resource library in its two window sizes,
// owned for one dialog's lifetime.
#include <windows.h>

#include "ui/lang/resource_ids.h"

namespace qxu {

class WindowIcons {
 public:
  explicit WindowIcons(HMODULE library)
      : big_(Load(library, 32)), small_(Load(library, 16)) {}
  ~WindowIcons() {
    if (big_) DestroyIcon(big_);
    if (small_) DestroyIcon(small_);
  }
  WindowIcons(const WindowIcons&) = delete;
  WindowIcons& operator=(const WindowIcons&) = delete;

  HICON big() const { return big_; }
  HICON small() const { return small_; }

  void SetOn(HWND window) const {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_));
  }

 private:
  static HICON Load(HMODULE library, int size) {
    if (!library) return nullptr;
    return static_cast<HICON>(
        LoadImageW(library, MAKEINTRESOURCEW(QXU_ICON_PROGRAM), IMAGE_ICON, size, size, 0));
  }

  HICON big_;
  HICON small_;
};

}  // namespace qxu
