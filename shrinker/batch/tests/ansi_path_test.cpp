#include "ansi_path.h"

#include <gtest/gtest.h>

namespace vantilo {
namespace {

// "表" in Shift-JIS is 0x95 0x5C: its trail byte is a backslash.
const std::string kHyou = "\x95\x5C";

TEST(AnsiPath, SplitsFolderAndNameOutsideDoubleByteCharacters) {
  const std::string path = "C:\\" + kHyou + "\\" + kHyou + ".PNG";
  EXPECT_EQ(FolderPart(path), "C:\\" + kHyou + "\\");
  EXPECT_EQ(NamePart(path), kHyou + ".PNG");
  // A name that ends in the double-byte character keeps it whole.
  EXPECT_EQ(NamePart("C:\\x\\a" + kHyou), "a" + kHyou);
  EXPECT_EQ(FolderPart("a.jpg"), "");
  EXPECT_EQ(NamePart("C:a.jpg"), "a.jpg");
  EXPECT_EQ(NamePart("C:/x/b.gif"), "b.gif");
}

TEST(AnsiPath, ExtensionIsTheLastDotOfTheName) {
  EXPECT_EQ(ExtensionOf("C:\\a.b\\photo"), "");
  EXPECT_EQ(ExtensionOf("C:\\a.b\\photo.tar.JPEG"), ".JPEG");
  EXPECT_EQ(ReplaceExtension("C:\\photos\\a.PNG", ".jpg"), "C:\\photos\\a.jpg");
  EXPECT_EQ(ReplaceExtension("C:\\a.b\\noext", ".jpg"), "C:\\a.b\\noext.jpg");
  // 0x81 0x2E is one character whose trail byte is a dot.
  EXPECT_EQ(ExtensionOf("C:\\x\\a\x81\x2E"), "");
}

TEST(AnsiPath, PictureExtensionsInAnyCase) {
  for (const char* ok : {"a.jpg", "a.JPG", "a.Jpeg", "a.gif", "a.PNG", "a.bmp", "x\\y.z\\a.BmP"})
    EXPECT_TRUE(HasPictureExtension(ok)) << ok;
  for (const char* no : {"a.txt", "a.lnk", "a", "a.jpg.txt", "a.jp", "C:\\sc", "a.jpgx", "a.jpg\\b"})
    EXPECT_FALSE(HasPictureExtension(no)) << no;
}

}  // namespace
}  // namespace vantilo
