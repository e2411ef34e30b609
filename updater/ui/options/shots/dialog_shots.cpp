// Pictures of the options, proxy and about dialogs as the screen shows
// them, written as PNG files into the folder named on the command line.
#include <windows.h>

#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/support/core/owned_string.h"
#include "engine/support/win32/resource_library.h"
#include "ui/about/win32/operating_system_name.h"
#include "engine/identity/win32/program_identity.h"
#include "ui/lang/resource_ids.h"
#include "ui/options/win32/options_dialog.h"
#include "win32/dialogs.h"

namespace {

using namespace qxu;
using qxtest::Answer;
using qxtest::Click;
using qxtest::Scope;
using qxtest::Settle;
using qxtest::WaitForDialog;

std::wstring g_folder;
int g_failures = 0;

class ScreenCopy {
 public:
  explicit ScreenCopy(const RECT& rect)
      : width_(rect.right - rect.left), height_(rect.bottom - rect.top),
        pixels_(static_cast<size_t>(width_) * height_ * 4) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && memory) {
      HGDIOBJ old = SelectObject(memory, bitmap);
      BitBlt(memory, 0, 0, width_, height_, screen, rect.left, rect.top, SRCCOPY);
      GdiFlush();
      memcpy(pixels_.data(), bits, pixels_.size());
      SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }

  bool WritePng(const std::wstring& path) const {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (info && !setjmp(png_jmpbuf(png))) {
      png_init_io(png, file);
      png_set_IHDR(png, info, width_, height_, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                   PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
      png_write_info(png, info);
      std::vector<png_byte> row(static_cast<size_t>(width_) * 3);
      for (int y = 0; y < height_; ++y) {
        const unsigned char* source = &pixels_[static_cast<size_t>(y) * width_ * 4];
        for (int x = 0; x < width_; ++x) {
          row[x * 3 + 0] = source[x * 4 + 2];
          row[x * 3 + 1] = source[x * 4 + 1];
          row[x * 3 + 2] = source[x * 4 + 0];
        }
        png_write_row(png, row.data());
      }
      png_write_end(png, nullptr);
      ok = true;
    }
    png_destroy_write_struct(&png, info ? &info : nullptr);
    fclose(file);
    return ok;
  }

 private:
  int width_, height_;
  std::vector<unsigned char> pixels_;
};

void Shoot(HWND window, const wchar_t* name) {
  if (!window) {
    ++g_failures;
    fwprintf(stderr, L"no window for %ls\n", name);
    return;
  }
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Settle(window);
  Sleep(300);
  RECT rect{};
  GetWindowRect(window, &rect);
  const std::wstring path = g_folder + L"\\" + name + L".png";
  if (!ScreenCopy(rect).WritePng(path)) {
    ++g_failures;
    fwprintf(stderr, L"cannot write %ls\n", path.c_str());
  }
}

void WaitGone(HWND window) {
  qxtest::PumpUntil([window] { return !IsWindow(window); }, 5000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fwprintf(stderr, L"usage: dialog_shots FOLDER\n");
    return 2;
  }
  g_folder = argv[1];
  CreateDirectoryW(g_folder.c_str(), nullptr);
  ModuleHandle library(LoadLanguageResourceLibrary());
  IdentityOwner identity(CreateIdentity());
  if (!library || !identity) return 1;
  SetQxUpdateIdentity(identity.get());
  FillOperatingSystemName(identity.get());
  // Keep the pictures' setting file out of everybody's way.
  const std::wstring settingFile = g_folder + L"\\dialog-shots.ini";
  identity->settingFilePath = ReplaceString(identity->settingFilePath, settingFile.c_str());

  UpdaterSettings settings;
  settings.autoUpdate = 1;
  SettingsOptions options;
  options.proxyUserUse = 1;
  options.proxyUser = L"alice";
  options.proxyPassword = L"secret";
  DialogContext context;
  context.library = library.get();
  context.identity = identity.get();
  context.settings = &settings;
  context.options = &options;

  SetCursorPos(640, 420);
  qxtest::DriveModal([&] { return ShowOptionsDialog(context); },
                     [&](DWORD ui) {
                       HWND options = WaitForDialog(Scope::Thread(ui));
                       Shoot(options, L"options-dialog");
                       if (!options) return;
                       Click(options, QXU_OPTIONS_PROXY);
                       HWND proxy = WaitForDialog(Scope::Thread(ui), {options});
                       Shoot(proxy, L"proxy-dialog");
                       if (proxy) Answer(proxy, IDCANCEL);
                       WaitGone(proxy);
                       Click(options, QXU_OPTIONS_ABOUT);
                       HWND about = WaitForDialog(Scope::Thread(ui), {options});
                       Shoot(about, L"about-dialog");
                       if (about) Answer(about, IDCANCEL);
                       WaitGone(about);
                       Click(options, IDCANCEL);
                     });
  SetFileAttributesW(settingFile.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(settingFile.c_str());
  return g_failures ? 1 : 0;
}
