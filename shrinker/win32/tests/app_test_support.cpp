#include "app_test_support.h"

#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "output_naming.h"
#include "picture/filters.h"
#include "picture/jpeg_writer.h"
#include "picture/load_picture.h"
#include "win32/processes.h"

namespace vantilo::test {

namespace {
void WriteAll(const std::string& path, const void* data, std::size_t size) {
  if (!qxtest::WriteBytes(qxtest::Widen(path), std::string(static_cast<const char*>(data), size)))
    throw std::runtime_error("cannot write " + path);
}
}  // namespace

WorkPicture MakePicture(int width, int height, int seed) {
  WorkPicture p;
  if (!p.SetSize(width, height)) throw std::runtime_error("picture size");
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = p.Row(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<std::uint8_t>((x * 255) / std::max(1, width - 1));
      row[3 * x + 1] = static_cast<std::uint8_t>((y * 255) / std::max(1, height - 1));
      row[3 * x + 2] = static_cast<std::uint8_t>(((x / 8 + y / 8) % 2) * 60 + seed * 37);
    }
  }
  return p;
}

void WriteBmp(const std::string& path, const WorkPicture& picture) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(picture.RowBytes()) + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(picture.Height());
  std::vector<std::uint8_t> file(54 + imageSize, 0);
  auto put16 = [&](std::size_t at, std::uint32_t v) { file[at] = v & 0xFF; file[at + 1] = (v >> 8) & 0xFF; };
  auto put32 = [&](std::size_t at, std::uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(picture.Width()));
  put32(22, static_cast<std::uint32_t>(picture.Height()));
  put16(26, 1);
  put16(28, 24);
  put32(34, imageSize);
  for (int y = 0; y < picture.Height(); ++y)
    std::copy_n(picture.Row(picture.Height() - 1 - y), picture.RowBytes(), file.begin() + 54 + y * stride);
  WriteAll(path, file.data(), file.size());
}

void WriteJpeg(const std::string& path, const WorkPicture& picture) {
  std::vector<std::uint8_t> bytes;
  JpegOptions options;
  options.quality = 95;
  if (!EncodeJpeg(picture, options, bytes)) throw std::runtime_error("encode");
  WriteAll(path, bytes.data(), bytes.size());
}

void WriteJpegWithOrientation(const std::string& path, const WorkPicture& picture, int orientation) {
  std::vector<std::uint8_t> bytes;
  JpegOptions options;
  options.quality = 95;
  if (!EncodeJpeg(picture, options, bytes)) throw std::runtime_error("encode");
  // APP1 "Exif", a little-endian TIFF block with one tag, right after SOI.
  const std::uint8_t o = static_cast<std::uint8_t>(orientation);
  const std::vector<std::uint8_t> app1 = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0,
                                          1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, o, 0, 0, 0, 0, 0, 0, 0};
  bytes.insert(bytes.begin() + 2, app1.begin(), app1.end());
  WriteAll(path, bytes.data(), bytes.size());
}

WorkPicture QuarterTurnClockwise(const WorkPicture& picture) {
  WorkPicture out;
  if (!out.SetSize(picture.Height(), picture.Width())) throw std::runtime_error("picture size");
  for (int y = 0; y < out.Height(); ++y)
    for (int x = 0; x < out.Width(); ++x)
      std::copy_n(picture.Row(picture.Height() - 1 - x) + 3 * y, 3, out.Row(y) + 3 * x);
  return out;
}

void WritePng(const std::string& path, const WorkPicture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.Width());
  image.height = static_cast<png_uint_32>(picture.Height());
  image.format = PNG_FORMAT_BGR;
  std::vector<std::uint8_t> pixels;
  for (int y = 0; y < picture.Height(); ++y) pixels.insert(pixels.end(), picture.Row(y), picture.Row(y) + picture.RowBytes());
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr))
    throw std::runtime_error("png size");
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr))
    throw std::runtime_error("png");
  WriteAll(path, out.data(), size);
}

namespace {
extern "C" int GifToVector(GifFileType* gif, const GifByteType* data, int n) {
  static_cast<std::vector<std::uint8_t>*>(gif->UserData)->insert(
      static_cast<std::vector<std::uint8_t>*>(gif->UserData)->end(), data, data + n);
  return n;
}
}  // namespace

void WriteGif(const std::string& path, const WorkPicture& picture) {
  std::vector<std::uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, GifToVector, &error);
  if (!gif) throw std::runtime_error("gif");
  GifColorType colours[256];
  for (int i = 0; i < 256; ++i)
    colours[i] = GifColorType{static_cast<GifByteType>((i >> 5) * 255 / 7), static_cast<GifByteType>((i >> 2 & 7) * 255 / 7),
                              static_cast<GifByteType>((i & 3) * 255 / 3)};
  ColorMapObject* map = GifMakeMapObject(256, colours);
  bool ok = EGifPutScreenDesc(gif, picture.Width(), picture.Height(), 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, picture.Width(), picture.Height(), false, nullptr) == GIF_OK;
  std::vector<GifByteType> line(static_cast<std::size_t>(picture.Width()));
  for (int y = 0; ok && y < picture.Height(); ++y) {
    const std::uint8_t* px = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x, px += 3)  // blue, green, red
      line[x] = static_cast<GifByteType>((px[2] >> 5) << 5 | (px[1] >> 5) << 2 | px[0] >> 6);
    ok = EGifPutLine(gif, line.data(), picture.Width()) == GIF_OK;
  }
  ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
  GifFreeMapObject(map);
  if (!ok) throw std::runtime_error("gif");
  WriteAll(path, out.data(), out.size());
}

void WriteGrayJpeg(const std::string& path, const WorkPicture& picture) {
  std::vector<std::uint8_t> bytes;
  JpegOptions options;
  options.quality = 90;
  options.gray = true;
  if (!EncodeJpeg(picture, options, bytes)) throw std::runtime_error("encode");
  WriteAll(path, bytes.data(), bytes.size());
}

void WriteText(const std::string& path, const std::string& text) { WriteAll(path, text.data(), text.size()); }

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  const std::string bytes = qxtest::ReadBytes(qxtest::Widen(path));
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  for (const std::wstring& name : qxtest::ListFolder(qxtest::Widen(folder))) names.push_back(qxtest::Narrow(name));
  return names;
}

std::string BinFolder() {
  const std::string folder = qxtest::Narrow(qxtest::ProgramFolder());
  return folder.substr(0, folder.size() - 1);
}

int RunVantilo(const std::string& folder, const std::string& arguments, const std::string& workingFolder) {
  const std::string exe = folder + "\\Vantilo.exe";
  if (!FileExists(exe) && !CopyFileA((BinFolder() + "\\Vantilo.exe").c_str(), exe.c_str(), FALSE)) return -1;
  return qxtest::RunProcess(qxtest::Widen(exe), qxtest::Widen(arguments), qxtest::Widen(workingFolder));
}

void WriteIni(const std::string& path, const std::string& section,
              const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [key, value] : values)
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
}

std::string IniValue(const std::string& path, const std::string& section, const std::string& key) {
  char value[2048];
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", value, sizeof value, path.c_str());
  return value;
}

std::vector<std::uint8_t> ExpectedOutput(const std::string& source, const PipelineOptions& o) {
  WorkPicture p;
  if (!LoadPicture(source, p) || !p.ConvertTo24Bits()) throw std::runtime_error("load " + source);
  return ExpectedOutputOf(std::move(p), o);
}

std::vector<std::uint8_t> ExpectedOutputOf(WorkPicture p, const PipelineOptions& o) {
  if (o.saturation && !RaiseSaturation(p, p, 140)) throw std::runtime_error("saturation");
  if (!ShrinkFit(p, p, o.boxWidth, o.boxHeight)) throw std::runtime_error("shrink");
  if (o.sharpen && !Sharpen(p, p, o.strength)) throw std::runtime_error("sharpen");
  JpegOptions options;
  options.gray = o.gray;
  options.progressive = o.progressive;
  if (o.targetKByte > 0) {
    SizedJpeg sized;
    if (!EncodeJpegWithinSize(p, options, std::int64_t{o.targetKByte} * 1024, sized)) throw std::runtime_error("size");
    return sized.bytes;
  }
  options.quality = o.quality;
  std::vector<std::uint8_t> bytes;
  if (!EncodeJpeg(p, options, bytes)) throw std::runtime_error("encode");
  return bytes;
}

RegistryValue::RegistryValue(HKEY root, const std::string& keyPath, const char* name, const std::string& value)
    : root_(root), path_(keyPath), name_(name) {
  DWORD disposition = 0;
  RegCreateKeyExA(root, keyPath.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, &disposition);
  madeKey_ = disposition == REG_CREATED_NEW_KEY;
  BYTE old[MAX_PATH * 2];
  DWORD size = sizeof old;
  had_ = RegQueryValueExA(key_, name, nullptr, &type_, old, &size) == ERROR_SUCCESS;
  if (had_) old_.assign(old, old + size);
  RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

RegistryValue::~RegistryValue() {
  if (had_)
    RegSetValueExA(key_, name_, 0, type_, old_.data(), static_cast<DWORD>(old_.size()));
  else
    RegDeleteValueA(key_, name_);
  RegCloseKey(key_);
  if (madeKey_) RegDeleteTreeA(root_, path_.c_str());
}

ShellFolderRedirect::ShellFolderRedirect(const char* name, const std::string& folder)
    : shell(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", name, folder),
      user(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", name,
           folder) {}

namespace {
constexpr char kOpenerClass[] = "VantiloTestHtmlCopy";
}  // namespace

// The classes root, not the user's classes: Wine's shell looks only there.
HtmlOpenerCopiesTo::HtmlOpenerCopiesTo(const std::string& target)
    : extension_(HKEY_CLASSES_ROOT, ".html", nullptr, kOpenerClass),
      command_(HKEY_CLASSES_ROOT, std::string(kOpenerClass) + "\\shell\\open\\command", nullptr,
               "C:\\windows\\system32\\cmd.exe /c copy \"%1\" \"" + target + "\"") {}

HtmlOpenerCopiesTo::~HtmlOpenerCopiesTo() { RegDeleteTreeA(HKEY_CLASSES_ROOT, kOpenerClass); }

std::string TodayPageName() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return PageFileName(now.wYear, now.wMonth, now.wDay);
}

}  // namespace vantilo::test
