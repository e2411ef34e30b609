// Reading description files under the process locale "jpn" (code page 932),
// and saved as UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <string>
#include <vector>

#include "engine/description/win32/description_file.h"
#include "engine/support/core/owned_string.h"
#include "engine/support/win32/unique_handle.h"
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

// One description in the three encodings a Japanese user's editor saves:
// "C:\ソフト\表示.txt" and "C:\ソフト\更新.exe" as UTF-8 and as code page 932.
TEST_F(DescriptionFile, JapanesePathsInUtf8WithOrWithoutMarkAndInShiftJis) {
  auto text = [](const std::string& soft, const std::string& show, const std::string& update) {
    return "--silent -dl 'U/app/a.txt;C:\\" + soft + "\\" + show + ".txt'\r\n--restart \"C:\\" + soft + "\\" +
           update + ".exe\"\r\n";
  };
  const std::string utf8 = text("\xE3\x82\xBD\xE3\x83\x95\xE3\x83\x88", "\xE8\xA1\xA8\xE7\xA4\xBA",
                                "\xE6\x9B\xB4\xE6\x96\xB0");
  const std::string sjis = text("\x83\x5C\x83\x74\x83\x67", "\x95\x5C\x8E\xA6", "\x8D\x58\x90\x56");
  const Tokens expected{L"--silent", L"-dl", L"U/app/a.txt;C:\\ソフト\\表示.txt", L"--restart",
                        L"C:\\ソフト\\更新.exe"};
  Write(utf8);
  EXPECT_EQ(Read(path_), expected) << "UTF-8 without a byte-order mark";
  Write("\xEF\xBB\xBF" + utf8);
  EXPECT_EQ(Read(path_), expected) << "UTF-8 with a byte-order mark";
  Write(sjis);
  EXPECT_EQ(Read(path_), expected) << "code page 932";
}

TEST_F(DescriptionFile, ByteOrderMarkIsNotPartOfTheFirstToken) {
  Write("\xEF\xBB\xBF--silent --confirm");
  EXPECT_EQ(Read(path_), (Tokens{L"--silent", L"--confirm"}));
  Write("\xEF\xBB\xBF");
  Read(path_, true);
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
