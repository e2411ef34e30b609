// Image1: a child window that shows a small copy of a picture, made at its
// size (stretched when it is not).
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "picture/work_picture.h"

namespace vantilo {

class Preview {
 public:
  static bool Register(HINSTANCE instance);
  static constexpr char kClassName[] = "VantiloPreview";

  // Copies a Bgr24 picture (the preview, a few tens of kilobytes) into the
  // window and repaints it.
  static void SetPicture(HWND window, const WorkPicture& picture);
};

}  // namespace vantilo
