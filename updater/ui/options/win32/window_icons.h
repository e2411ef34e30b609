#pragma once
// The program icon of the language resource library in its two window sizes,
// owned for one dialog's lifetime.
#include <windows.h>

#include "engine/support/win32/unique_handle.h"
#include "ui/lang/resource_ids.h"

namespace qxu {

class WindowIcons {
 public:
  explicit WindowIcons(HMODULE library)
      : big_(Load(library, 32)), small_(Load(library, 16)) {}
  WindowIcons(const WindowIcons&) = delete;
  WindowIcons& operator=(const WindowIcons&) = delete;

  HICON big() const { return big_.get(); }
  HICON small() const { return small_.get(); }

  void SetOn(HWND window) const {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_.get()));
  }

 private:
  static HICON Load(HMODULE library, int size) {
    if (!library) return nullptr;
    return static_cast<HICON>(
        LoadImageW(library, MAKEINTRESOURCEW(QXU_ICON_PROGRAM), IMAGE_ICON, size, size, 0));
  }

  // Destroyed in the reverse order of loading, small before big.
  IconHandle big_;
  IconHandle small_;
};

}  // namespace qxu
