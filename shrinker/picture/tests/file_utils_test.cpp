#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "picture/file_utils.h"
#include "picture/jpeg_writer.h"
#include "test_pictures.h"

namespace vantilo {
namespace {

TEST(TimeStampTest, FormatsMillisecondsWithoutLeadingZeros) {
  EXPECT_EQ(FormatTimeStamp(2002, 12, 31, 23, 59, 59, 7), "200212312359597");
  EXPECT_EQ(FormatTimeStamp(2002, 12, 31, 23, 59, 59, 123), "20021231235959123");
  EXPECT_EQ(FormatTimeStamp(2026, 1, 2, 3, 4, 5, 0), "202601020304050");
}

TEST(TimeStampTest, UsesTheLocalClock) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  const std::string stamp = TimeStamp();
  ASSERT_GE(stamp.size(), 15u);
  ASSERT_LE(stamp.size(), 17u);
  char day[64];
  std::snprintf(day, sizeof day, "%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  // Runs across midnight are the only way this can differ.
  EXPECT_EQ(stamp.substr(0, 8), day);
  for (char c : stamp) EXPECT_TRUE(c >= '0' && c <= '9');
}

TEST(FileSizeOfTest, MissingEmptyAndWritten) {
  test::ScratchDir dir;
  EXPECT_EQ(FileSizeOf(dir.Path("missing.bin")), -1);
  ASSERT_TRUE(WriteFileBytes(dir.Path("empty.bin"), {}));
  EXPECT_EQ(FileSizeOf(dir.Path("empty.bin")), 0);
  ASSERT_TRUE(WriteFileBytes(dir.Path("five.bin"), {1, 2, 3, 4, 5}));
  EXPECT_EQ(FileSizeOf(dir.Path("five.bin")), 5);
  // Replacing shrinks the file.
  ASSERT_TRUE(WriteFileBytes(dir.Path("five.bin"), {9}));
  EXPECT_EQ(FileSizeOf(dir.Path("five.bin")), 1);
}

}  // namespace
}  // namespace vantilo
