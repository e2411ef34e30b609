// The resources Vantilo.exe carries: version 1.50, manifest, icon, background.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_test_support.h"

namespace vantilo::test {
namespace {

struct Module {
  explicit Module(const std::string& path)
      : handle(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~Module() {
    if (handle) FreeLibrary(handle);
  }
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;
  std::string Resource(LPCSTR type, LPCSTR name) const {
    HRSRC r = FindResourceA(handle, name, type);
    if (!r) return {};
    const char* data = static_cast<const char*>(LockResource(LoadResource(handle, r)));
    return data ? std::string(data, SizeofResource(handle, r)) : std::string();
  }
  HMODULE handle;
};

TEST(VantiloResources, VersionManifestIconAndBackground) {
  const std::string exe = BinFolder() + "\\Vantilo.exe";
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(50, 1));
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  char* text = nullptr;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\041103A4\\FileVersion", reinterpret_cast<void**>(&text), &len));
  EXPECT_STREQ(text, "1.50");

  Module module(exe);
  ASSERT_NE(module.handle, nullptr);
  const std::string manifest = module.Resource(MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_FALSE(module.Resource(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(1)).empty());  // icon group
  const std::string bitmap = module.Resource(MAKEINTRESOURCEA(2), "BACKGROUND");
  ASSERT_GE(bitmap.size(), sizeof(BITMAPINFOHEADER));
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bitmap.data());
  EXPECT_EQ(header->biWidth, 480);
  EXPECT_EQ(header->biHeight, 313);
  EXPECT_EQ(header->biBitCount, 4);  // 16 colours
  EXPECT_TRUE(FileExists(BinFolder() + "\\help\\help.html"));
}

}  // namespace
}  // namespace vantilo::test
