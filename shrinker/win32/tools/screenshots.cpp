// Takes PNG pictures of Form1: idle, and during a batch with a preview.
// Usage: vantilo_screenshots.exe OUTPUT_FOLDER
#include <windows.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "handles.h"
#include "hosted_window.h"

namespace {

// The whole window, frame included, as drawn on the screen.
bool SaveWindowPng(HWND hwnd, const std::string& path) {
  RECT rc;
  GetWindowRect(hwnd, &rc);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  vantilo::WindowDc screen(nullptr);
  vantilo::GdiObject dib(CreateDIBSection(screen.Dc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) return false;
  vantilo::MemoryDc memory(CreateCompatibleDC(screen.Dc()));
  {
    vantilo::SelectScope select(memory.Get(), dib.Get());
    BitBlt(memory.Get(), 0, 0, w, h, screen.Dc(), rc.left, rc.top, SRCCOPY);
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_BGRA;
  // The screen leaves alpha at 0: make every pixel opaque.
  auto* px = static_cast<std::uint8_t*>(bits);
  for (int i = 0; i < w * h; ++i) px[4 * i + 3] = 255;
  return png_image_write_to_file(&image, path.c_str(), 0, bits, 0, nullptr) != 0;
}

void Settle(HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  for (int i = 0; i < 10; ++i) {
    vantilo::test::HostedWindow::Pump();
    Sleep(50);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vantilo_screenshots OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string out = argv[1];
  using namespace vantilo::test;
  TempFolder dir;
  WriteBmp(dir / "photo.bmp", MakePicture(800, 600, 2));
  WriteBmp(dir / "second.bmp", MakePicture(640, 480, 4));
  HostedWindow form(dir);
  SetForegroundWindow(form.Hwnd());
  Settle(form.Hwnd());
  bool ok = SaveWindowPng(form.Hwnd(), out + "\\vantilo-idle.png");
  bool shot = false;
  form.Window().SetPreviewObserver([&] {
    if (shot) return;
    shot = true;
    Settle(form.Hwnd());
    ok = SaveWindowPng(form.Hwnd(), out + "\\vantilo-batch.png") && ok;
  });
  SendMessageW(form.Hwnd(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(MakeDrop({dir / "photo.bmp", dir / "second.bmp"})), 0);
  std::printf("%s\\vantilo-idle.png\n%s\\vantilo-batch.png\n", out.c_str(), out.c_str());
  return ok && shot ? 0 : 1;
}
