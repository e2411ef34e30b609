#include <gtest/gtest.h>

#include "engine/runrules/core/download_progress.h"
#include "engine/runrules/core/path_text.h"

using namespace qxu;

TEST(DownloadPercent, KnownTotalStaysExactBeyondFortyTwoMegabytes) {
  // 45 MB: received * 100 no longer fits in 32 bits.
  const std::uint64_t total = 45ull * 1024 * 1024;
  EXPECT_DOUBLE_EQ(DownloadPercent(total / 2, total), 50.0);
  EXPECT_DOUBLE_EQ(DownloadPercent(total, total), 100.0);
  const std::uint64_t huge = 5ull * 1024 * 1024 * 1024;  // beyond 32 bits altogether
  EXPECT_DOUBLE_EQ(DownloadPercent(huge / 4, huge), 25.0);
  EXPECT_DOUBLE_EQ(DownloadPercent(0, total), 0.0);
}

TEST(DownloadPercent, OverrunOfTheAnnouncedSizeIsCappedAtHundred) {
  EXPECT_DOUBLE_EQ(DownloadPercent(2000, 1000), 100.0);
}

TEST(DownloadPercent, UnknownTotalClimbsOverEveryHundredKibibytes) {
  EXPECT_DOUBLE_EQ(DownloadPercent(0, 0), 0.0);
  EXPECT_DOUBLE_EQ(DownloadPercent(51200, 0), 50.0);
  EXPECT_NEAR(DownloadPercent(102399, 0), 99.999, 0.001);
  EXPECT_DOUBLE_EQ(DownloadPercent(102400, 0), 0.0);
  EXPECT_DOUBLE_EQ(DownloadPercent(102400 + 1024, 0), 1.0);
}

TEST(PathText, TrimAndFolderPart) {
  EXPECT_EQ(TrimPathEnd(L"C:\\a\\b\\ \r\n"), L"C:\\a\\b");
  EXPECT_EQ(TrimPathEnd(L"\\\\\\"), L"");
  EXPECT_EQ(FolderPartOf(L"C:\\a\\b\\file.txt"), L"C:\\a\\b");
  EXPECT_EQ(FolderPartOf(L"C:\\file.txt"), L"C:");
  EXPECT_EQ(FolderPartOf(L"C:file.txt"), L"C:");
  EXPECT_EQ(FolderPartOf(L"file.txt"), L"");
  EXPECT_EQ(FolderPartOf(L"\\\\server\\share\\x"), L"\\\\server\\share");
}

TEST(PathText, DriveRoots) {
  EXPECT_TRUE(IsDriveRoot(L"c:"));
  EXPECT_TRUE(IsDriveRoot(L"Z:\\"));
  EXPECT_FALSE(IsDriveRoot(L"1:"));
  EXPECT_FALSE(IsDriveRoot(L"C:\\a"));
  EXPECT_FALSE(IsDriveRoot(L"C"));
  EXPECT_FALSE(IsDriveRoot(L"C:/"));
}

TEST(PathText, FolderRootsAreOnlyEmptyDrivesAndRoots) {
  for (const wchar_t* root : {L"", L"\\", L"/", L"C:", L"c:\\", L"C:/", L"\\\\server", L"\\\\server\\share",
                              L"\\\\server\\share\\", L"//server/share"})
    EXPECT_TRUE(IsFolderRoot(root)) << std::wstring(root).size();
  // Short relative folders are folders like any other.
  for (const wchar_t* folder : {L"js", L"a", L"a\\b", L"..", L"C:\\a", L"C:js", L"\\js", L"\\\\server\\share\\x"})
    EXPECT_FALSE(IsFolderRoot(folder)) << std::wstring(folder).size();
}

TEST(PathText, PartFileLiesBesideItsTarget) {
  const std::wstring part = PartFilePath(L"C:\\Tools\\QxUpdate.exe");
  EXPECT_EQ(FolderPartOf(part), L"C:\\Tools");
  EXPECT_NE(part, L"C:\\Tools\\QxUpdate.exe");
}
