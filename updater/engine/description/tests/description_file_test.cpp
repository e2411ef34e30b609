// Reading description files under the process locale "jpn" (code page 932).
#include <windows.h>

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <string>
#include <vector>

#include "engine/description/win32/description_file.h"
#include "engine/support/core/owned_string.h"
#include "engine/support/win32/file_handle.h"
#include "win32/files.h"

namespace qxu {
namespace {

using Tokens = std::vector<std::wstring>;

class DescriptionFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(_wsetlocale(LC_ALL, L"jpn"), nullptr);
    path_ = folder_ / L"description.quf";
  }
  void TearDown() override { _wsetlocale(LC_ALL, L"C"); }

  void Write(const std::string& bytes) {
    std::ofstream out(path_.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  static Tokens Read(const std::wstring& path, bool expectNone = false) {
    int count = -1;
    OwnedStringList list(ReadDescriptionFile(path.c_str(), &count));
    Tokens tokens;
    if (!list) {
      EXPECT_EQ(count, 0);
      EXPECT_TRUE(expectNone) << "no tokens from " << std::string(path.begin(), path.end());
      return tokens;
    }
    for (wchar_t** item = list.get(); *item; ++item) tokens.emplace_back(*item);
    EXPECT_EQ(static_cast<int>(tokens.size()), count);
    return tokens;
  }

  qxtest::TempFolder folder_{L"qxu-description"};
  std::wstring path_;
};

TEST_F(DescriptionFile, ShiftJisTextWithTrailBytesThatLookLikeABackslash) {
  // "ソ" is 0x83 0x5C and "表" 0x95 0x5C: the second byte is "\" in ASCII,
  // which must not escape the quote that follows.
  Write("--download 'U/app/tool.exe;C:\\\x83\x5C\x83\x74\x83\x67\\tool.exe'\r\n"
        "--restart '\x95\x5C' -cf");
  EXPECT_EQ(Read(path_), (Tokens{L"--download", L"U/app/tool.exe;C:\\ソフト\\tool.exe", L"--restart",
                                 L"表", L"-cf"}));
}

TEST_F(DescriptionFile, Utf16FileStopsAfterItsFirstCharacter) {
  Write(std::string("-\0-\0s\0i\0l\0e\0n\0t\0", 16));
  EXPECT_EQ(Read(path_), (Tokens{L"-"}));
}

TEST_F(DescriptionFile, Utf8ByteOrderMarkSpoilsTheFirstToken) {
  Write("\xEF\xBB\xBF--silent --confirm");
  const Tokens tokens = Read(path_);
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_NE(tokens[0], L"--silent");
  EXPECT_GT(tokens[0].size(), 8u);
  EXPECT_EQ(tokens[0].substr(tokens[0].size() - 8), L"--silent");
  EXPECT_EQ(tokens[1], L"--confirm");
}

TEST_F(DescriptionFile, MissingEmptyOrUnreadableFilesGiveNothing) {
  Read(path_ + L".missing", true);
  Write("");
  Read(path_, true);
  Write(std::string("\0--silent", 9));
  Read(path_, true);
  Read(folder_.path(), true);  // a folder
  Read(L"", true);
}

TEST_F(DescriptionFile, ReadWhileAnotherProgramHoldsItOpenForWriting) {
  Write("-sl");
  FileHandle writer(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer.valid());
  EXPECT_EQ(Read(path_), (Tokens{L"-sl"}));
  FileHandle exclusive;
  writer.reset();
  exclusive.reset(CreateFileW(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(exclusive.valid());
  Read(path_, true);  // locked by its owner: nothing, no crash
}

TEST_F(DescriptionFile, OverlongTokenInAFileIsLeftOut) {
  Write("--confirm '" + std::string(5000, 'x') + "' -dl U/a.txt");
  EXPECT_EQ(Read(path_), (Tokens{L"--confirm", L"-dl", L"U/a.txt"}));
}

}  // namespace
}  // namespace qxu
