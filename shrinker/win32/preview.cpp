#include "preview.h"

#include <cstring>
#include <memory>

#include "handles.h"

namespace vantilo {

namespace {

// The copy a preview window keeps: a top-down 24-bit DIB.
struct PreviewImage {
  BITMAPINFO info{};
  std::vector<std::uint8_t> bits;
};

PreviewImage* ImageOf(HWND hwnd) { return reinterpret_cast<PreviewImage*>(GetWindowLongPtrA(hwnd, 0)); }

void Paint(HWND hwnd) {
  PaintScope paint(hwnd);
  RECT rc;
  GetClientRect(hwnd, &rc);
  const PreviewImage* image = ImageOf(hwnd);
  if (!image || image->bits.empty()) {
    FillRect(paint.Dc(), &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    return;
  }
  // The copy is made at the window's size: no filtering on repaints.
  SetStretchBltMode(paint.Dc(), COLORONCOLOR);
  StretchDIBits(paint.Dc(), 0, 0, rc.right, rc.bottom, 0, 0, image->info.bmiHeader.biWidth,
                -image->info.bmiHeader.biHeight, image->bits.data(), &image->info, DIB_RGB_COLORS, SRCCOPY);
}

LRESULT CALLBACK PreviewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(new PreviewImage));
      return 0;
    case WM_NCDESTROY:
      delete ImageOf(hwnd);
      SetWindowLongPtrA(hwnd, 0, 0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

bool Preview::Register(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = PreviewProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  return ::RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void Preview::SetPicture(HWND window, const WorkPicture& picture) {
  PreviewImage* image = ImageOf(window);
  if (!image) return;
  image->bits.clear();
  if (picture.Format() == PixelFormat::Bgr24 && picture.Width() > 0 && picture.Height() > 0) {
    const std::size_t stride = (picture.RowBytes() + 3) & ~std::size_t{3};
    image->bits.assign(stride * static_cast<std::size_t>(picture.Height()), 0);
    for (int y = 0; y < picture.Height(); ++y)
      std::memcpy(image->bits.data() + stride * static_cast<std::size_t>(y), picture.Row(y), picture.RowBytes());
    BITMAPINFOHEADER& h = image->info.bmiHeader;
    h.biSize = sizeof h;
    h.biWidth = picture.Width();
    h.biHeight = -picture.Height();
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
  }
  InvalidateRect(window, nullptr, FALSE);
}

}  // namespace vantilo
