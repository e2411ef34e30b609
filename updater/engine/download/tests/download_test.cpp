// HttpDownloader against the local web server (HTTP and HTTPS).
#include "engine/download/win32/http_downloader.h"

#include <gtest/gtest.h>

#include "engine/download/tests/download_helpers.h"
#include "win32/files.h"
#include "win32/loopback.h"

using namespace qxu;
using namespace qxtest;

namespace {

const FILETIME kServerTime = FileTimeOf(2024, 5, 17, 9, 30, 12);

class Downloader : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ServersRunning()) << "run through with_servers.sh";
    progress.Clear();
    dl.SetProgressCallback(&ProgressLog::Callback, &progress);
  }
  ProgressLog progress;
  HttpDownloader dl;
  TempFolder dir;
};

TEST_F(Downloader, CheckComparesTheServerTimeWithTheLocalFile) {
  const std::string body = PatternBytes(5000, 1);
  ServedFile served(L"check.bin", body, &kServerTime);
  const std::wstring url = HttpUrl(served.name());
  FILETIME t = {};
  std::uint64_t size = 0;

  EXPECT_EQ(dl.CheckNewer(url.c_str(), (dir / L"missing.bin").c_str(), &t, &size), 1);
  EXPECT_EQ(dl.Status(), kStatusNewer);
  EXPECT_TRUE(SameTime(t, kServerTime));
  EXPECT_EQ(size, body.size());

  const FILETIME older = FileTimeOf(2024, 5, 17, 9, 30, 11);
  WriteBytes(dir / L"local.bin", "old", &older);
  EXPECT_EQ(dl.CheckNewer(url.c_str(), (dir / L"local.bin").c_str(), &t, &size), 1);

  WriteBytes(dir / L"local.bin", "same", &kServerTime);
  EXPECT_EQ(dl.CheckNewer(url.c_str(), (dir / L"local.bin").c_str(), &t, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusDone);

  const FILETIME later = FileTimeOf(2025, 1, 1, 0, 0, 0);
  WriteBytes(dir / L"local.bin", "newer", &later);
  EXPECT_EQ(dl.CheckNewer(url.c_str(), (dir / L"local.bin").c_str(), &t, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusDone);

  EXPECT_EQ(dl.CheckNewer(L"", (dir / L"local.bin").c_str(), &t, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusCheckFailed);
}

TEST_F(Downloader, DownloadStoresTheServerTimeSoTheNextCheckIsUpToDate) {
  const std::string body = PatternBytes(300000, 2);
  ServedFile served(L"stamp.bin", body, &kServerTime);
  const std::wstring url = HttpUrl(served.name());
  const std::wstring local = dir / L"sub\\deeper\\stamp.bin";

  EXPECT_EQ(dl.CheckAndDownload(url.c_str(), local.c_str(), local.c_str()), 1);
  EXPECT_EQ(dl.Status(), kStatusDone);
  EXPECT_TRUE(StoredAs(local, body, kServerTime));
  EXPECT_FALSE(FileExists(local + L".qxpart"));

  const std::vector<std::wstring> expected = {
      L"インターネットに接続中", L"ページに接続中",           L"アクセスバッファサイズを確認中",
      L"ファイルの存在を確認中", L"ファイル更新時刻を確認中", L"ファイルサイズを確認中",
      L"ページに接続中",         L"アクセスバッファサイズを確認中", L"ファイルの存在を確認中",
      L"ダウンロード中",         L"ダウンロード終了"};
  EXPECT_EQ(progress.Texts(), expected);
  double last = -1.0;
  for (const auto& e : progress.Entries()) {
    if (e.first != L"ダウンロード中" || e.second < 0) continue;
    EXPECT_GE(e.second, last);
    last = e.second;
  }
  EXPECT_DOUBLE_EQ(last, 100.0);

  progress.Clear();
  EXPECT_EQ(dl.CheckAndDownload(url.c_str(), local.c_str(), local.c_str()), 0);
  EXPECT_EQ(dl.Status(), kStatusNoDownload);
  // The handle is open already, so the connecting text does not return.
  EXPECT_EQ(progress.Texts().front(), L"ページに接続中");
}

TEST_F(Downloader, NoLastModifiedMeansNewerEveryTimeStampedWithTheCheckTime) {
  const std::string body = PatternBytes(1000, 3);
  ServedFile served(L"nolm.bin", body, &kServerTime);
  const std::wstring url = HttpUrl(L"nolm/" + served.name());
  const std::wstring local = dir / L"nolm.bin";

  FILETIME before;
  GetSystemTimeAsFileTime(&before);
  EXPECT_EQ(dl.CheckAndDownload(url.c_str(), local.c_str(), local.c_str()), 1);
  FILETIME after;
  GetSystemTimeAsFileTime(&after);
  FILETIME t = {};
  ASSERT_TRUE(LastWriteTime(local, &t));
  EXPECT_GE(Ticks(t), Ticks(before));
  EXPECT_LE(Ticks(t), Ticks(after));

  std::uint64_t size = 0;
  EXPECT_EQ(dl.CheckNewer(url.c_str(), local.c_str(), &t, &size), 1);
  EXPECT_EQ(dl.Status(), kStatusNewer);
}

TEST_F(Downloader, MissingFileFailsTheCheckAndTheDownload) {
  const std::wstring url = HttpUrl(L"no-such-file.bin");
  const std::wstring local = dir / L"x.bin";
  FILETIME t = {};
  std::uint64_t size = 0;
  EXPECT_EQ(dl.CheckNewer(url.c_str(), local.c_str(), &t, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusCheckFailed);
  EXPECT_EQ(dl.CheckAndDownload(url.c_str(), local.c_str(), local.c_str()), 0);
  EXPECT_EQ(dl.Status(), kStatusNewer);  // a failure, not "nothing to download"
  size = 0;
  EXPECT_EQ(dl.Download(url.c_str(), local.c_str(), nullptr, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusNewer);
  EXPECT_FALSE(FileExists(local));
  EXPECT_EQ(dl.Download(L"", local.c_str(), nullptr, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusLocalFailure);
}

TEST_F(Downloader, ResponseWithoutReadableStatusFailsTheCheckAndTheDownload) {
  ASSERT_NE(ServerPort("QX_TEST_FTP_PORT"), 0);
  ServedFile served(L"no-status.bin", PatternBytes(2000, 4), &kServerTime);
  // FTP answers with the file, but with no HTTP status code to read.
  const std::wstring url = FtpUrl(served.name());
  const std::wstring local = dir / L"no-status.bin";
  FILETIME t = {};
  std::uint64_t size = 0;
  EXPECT_EQ(dl.CheckNewer(url.c_str(), local.c_str(), &t, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusCheckFailed);
  size = 0;
  EXPECT_EQ(dl.Download(url.c_str(), local.c_str(), &kServerTime, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusNewer);
  EXPECT_FALSE(FileExists(local));
}

TEST_F(Downloader, EmptyBodyStoresAnEmptyFile) {
  ServedFile served(L"empty.bin", std::string(), &kServerTime);
  const std::wstring local = dir / L"empty.bin";
  WriteBytes(local, "previous content");
  std::uint64_t size = 0;
  EXPECT_EQ(dl.Download(HttpUrl(served.name()).c_str(), local.c_str(), &kServerTime, &size), 1);
  EXPECT_EQ(dl.Status(), kStatusDone);
  std::string stored = "x";
  ASSERT_TRUE(ReadBytes(local, &stored));
  EXPECT_TRUE(stored.empty());
  EXPECT_EQ(size, 0u);
}

TEST_F(Downloader, WithoutContentLengthProgressClimbsPerHundredKibibytes) {
  const std::string body = PatternBytes(350 * 1024, 4);
  ServedFile served(L"nolen.bin", body, &kServerTime);
  const std::wstring local = dir / L"nolen.bin";
  std::uint64_t size = 0;
  EXPECT_EQ(dl.Download(HttpUrl(L"nolen/" + served.name()).c_str(), local.c_str(), nullptr, &size), 1);
  EXPECT_EQ(size, body.size());
  std::string stored;
  ASSERT_TRUE(ReadBytes(local, &stored));
  EXPECT_TRUE(stored == body);
  int wraps = 0;
  double last = 0;
  for (const auto& e : progress.Entries()) {
    if (e.first != L"ダウンロード中" || e.second < 0) continue;
    EXPECT_LT(e.second, 100.0);
    if (e.second < last) ++wraps;
    last = e.second;
  }
  EXPECT_EQ(wraps, 3);
}

TEST_F(Downloader, DroppedConnectionKeepsTheOldFile) {
  const std::string body = PatternBytes(400000, 5);
  ServedFile served(L"drop.bin", body, &kServerTime);
  const std::wstring local = dir / L"drop.bin";
  const FILETIME older = FileTimeOf(2020, 1, 1, 0, 0, 0);
  WriteBytes(local, "the good old file", &older);

  EXPECT_EQ(dl.CheckAndDownload(HttpUrl(L"drop/" + served.name()).c_str(), local.c_str(), local.c_str()), 0);
  EXPECT_EQ(dl.Status(), kStatusLocalFailure);
  EXPECT_TRUE(StoredAs(local, "the good old file", older));
  EXPECT_FALSE(FileExists(local + L".qxpart"));
  EXPECT_EQ(progress.Texts().back(), L"ダウンロード中");

  // Without an old file nothing at all is left behind.
  std::uint64_t size = 0;
  const std::wstring fresh = dir / L"fresh.bin";
  EXPECT_EQ(dl.Download(HttpUrl(L"drop/" + served.name()).c_str(), fresh.c_str(), nullptr, &size), 0);
  EXPECT_FALSE(FileExists(fresh));
  EXPECT_FALSE(FileExists(fresh + L".qxpart"));
}

TEST_F(Downloader, LockedTargetGives126AndLeavesNothingBehind) {
  ServedFile served(L"locked.bin", PatternBytes(20000, 6), &kServerTime);
  const std::wstring local = dir / L"locked.bin";
  WriteBytes(local, "in use");
  HANDLE lock = CreateFileW(local.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  std::uint64_t size = 0;
  EXPECT_EQ(dl.Download(HttpUrl(served.name()).c_str(), local.c_str(), &kServerTime, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusLocalFailure);
  CloseHandle(lock);
  std::string stored;
  ASSERT_TRUE(ReadBytes(local, &stored));
  EXPECT_EQ(stored, "in use");
  EXPECT_FALSE(FileExists(local + L".qxpart"));
}

TEST_F(Downloader, SlowBodyArrivesWhole) {
  const std::string body = PatternBytes(64000, 7);
  ServedFile served(L"slow.bin", body, &kServerTime);
  const std::wstring local = dir / L"slow.bin";
  EXPECT_EQ(dl.CheckAndDownload(HttpUrl(L"slow/" + served.name()).c_str(), local.c_str(), local.c_str()), 1);
  std::string stored;
  ASSERT_TRUE(ReadBytes(local, &stored));
  EXPECT_TRUE(stored == body);
}

TEST_F(Downloader, ProgressOfAFileBeyondFortyTwoMegabytesStaysInRange) {
  const std::string body = PatternBytes(45u * 1024 * 1024, 8);
  ServedFile served(L"large.bin", body, &kServerTime);
  const std::wstring local = dir / L"large.bin";
  std::uint64_t size = 0;
  EXPECT_EQ(dl.Download(HttpUrl(served.name()).c_str(), local.c_str(), &kServerTime, &size), 1);
  EXPECT_EQ(size, body.size());
  double last = 0;
  for (const auto& e : progress.Entries()) {
    if (e.first != L"ダウンロード中" || e.second < 0) continue;
    EXPECT_GE(e.second, last);
    EXPECT_LE(e.second, 100.0);
    last = e.second;
  }
  EXPECT_DOUBLE_EQ(last, 100.0);
}

TEST_F(Downloader, MakeFoldersCreatesEveryMissingParent) {
  const std::wstring deep = dir / L"a\\b\\c";
  EXPECT_EQ(HttpDownloader::MakeFolders((deep + L"\\ \r\n").c_str()), 1);
  EXPECT_TRUE(FolderExists(deep));
  EXPECT_EQ(HttpDownloader::MakeFolders(deep.c_str()), 0);  // exists already
  EXPECT_EQ(HttpDownloader::MakeFolders(L"C:"), 0);
  EXPECT_EQ(HttpDownloader::MakeFolders(L""), 0);
}

// Runs a test with the process's current folder set to a temporary one.
class InFolder {
 public:
  explicit InFolder(const std::wstring& folder) {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring old(size, L'\0');
    old.resize(GetCurrentDirectoryW(size, &old[0]));
    old_ = old;
    ok_ = SetCurrentDirectoryW(folder.c_str()) != FALSE;
  }
  ~InFolder() { SetCurrentDirectoryW(old_.c_str()); }
  bool ok() const { return ok_; }

 private:
  std::wstring old_;
  bool ok_ = false;
};

TEST_F(Downloader, MakeFoldersTakesShortRelativePathsAndRefusesOnlyRoots) {
  InFolder here(dir.path());
  ASSERT_TRUE(here.ok());
  EXPECT_EQ(HttpDownloader::MakeFolders(L"js"), 1);
  EXPECT_TRUE(FolderExists(dir / L"js"));
  EXPECT_EQ(HttpDownloader::MakeFolders(L"a\\b\\c"), 1);  // every parent is short
  EXPECT_TRUE(FolderExists(dir / L"a\\b\\c"));
  EXPECT_EQ(HttpDownloader::MakeFolders(L"fwd/sl/ash/"), 1);  // ends, and makes every folder
  EXPECT_TRUE(FolderExists(dir / L"fwd\\sl\\ash"));
  for (const wchar_t* root : {L"\\", L"C:\\", L"c:", L"\\\\qx-no-server\\share\\"})
    EXPECT_EQ(HttpDownloader::MakeFolders(root), 0);
}

TEST_F(Downloader, RelativeLocalPathGetsItsFolder) {
  const std::string body = PatternBytes(2000, 9);
  ServedFile served(L"app.js", body, &kServerTime);
  InFolder here(dir.path());
  ASSERT_TRUE(here.ok());
  EXPECT_EQ(dl.CheckAndDownload(HttpUrl(served.name()).c_str(), L"js\\app.js", L"js\\app.js"), 1);
  EXPECT_EQ(dl.Status(), kStatusDone);
  EXPECT_TRUE(StoredAs(dir / L"js\\app.js", body, kServerTime));
}

}  // namespace
