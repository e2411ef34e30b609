// HttpDownloader over HTTPS: a server whose CA the prefix trusts for the run,
// and one whose CA it never trusts.
#include <gtest/gtest.h>

#include <memory>

#include "engine/download/tests/download_helpers.h"
#include "engine/download/win32/http_downloader.h"
#include "win32/files.h"
#include "win32/loopback.h"

using namespace qxu;
using namespace qxtest;

namespace {

const FILETIME kServerTime = FileTimeOf(2025, 3, 9, 22, 15, 41);

// Installed before the first test: Wine decides the process's trusted roots
// at its first secure connection.
class TestCaEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ca_.reset(new TrustedTestCa); }
  void TearDown() override { ca_.reset(); }
  static bool Trusted() { return ca_ && ca_->installed(); }

 private:
  static std::unique_ptr<TrustedTestCa> ca_;
};
std::unique_ptr<TrustedTestCa> TestCaEnvironment::ca_;
::testing::Environment* const kTestCa = ::testing::AddGlobalTestEnvironment(new TestCaEnvironment);

std::wstring UntrustedUrl(const std::wstring& path) {
  return L"https://localhost:" + std::to_wstring(ServerPort("QX_TEST_UNTRUSTED_PORT")) + L"/" + path;
}

class HttpsDownloader : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ServerPort("QX_TEST_HTTPS_PORT"), 0) << "run through with_servers.sh";
    ASSERT_NE(ServerPort("QX_TEST_UNTRUSTED_PORT"), 0) << "run through with_servers.sh";
    ASSERT_TRUE(TestCaEnvironment::Trusted()) << "the test CA could not be trusted";
  }
  HttpDownloader dl;
  TempFolder dir;
};

TEST_F(HttpsDownloader, CheckAndDownloadStoresTheBytesWithTheServerTime) {
  const std::string body = PatternBytes(200000, 21);
  ServedFile served(L"secure.bin", body, &kServerTime);
  const std::wstring url = HttpsUrl(served.name());
  const std::wstring local = dir / L"app\\secure.bin";

  EXPECT_EQ(dl.CheckAndDownload(url.c_str(), local.c_str(), local.c_str()), 1);
  EXPECT_EQ(dl.Status(), kStatusDone);
  EXPECT_TRUE(StoredAs(local, body, kServerTime));
  FILETIME t = {};

  std::uint64_t size = 0;
  EXPECT_EQ(dl.CheckNewer(url.c_str(), local.c_str(), &t, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusDone);
  EXPECT_TRUE(SameTime(t, kServerTime));
  EXPECT_EQ(size, body.size());
}

TEST_F(HttpsDownloader, SchemeInMixedCaseStillConnectsSecurely) {
  const std::string body = PatternBytes(7000, 22);
  ServedFile served(L"mixed.bin", body, &kServerTime);
  const std::wstring local = dir / L"mixed.bin";

  EXPECT_EQ(dl.CheckAndDownload(HttpsUrl(served.name(), L"HtTpS").c_str(), local.c_str(), local.c_str()), 1);
  EXPECT_EQ(dl.Status(), kStatusDone);
  std::string stored;
  ASSERT_TRUE(ReadBytes(local, &stored));
  EXPECT_TRUE(stored == body);

  // The port speaks TLS only, so the success above was a secure connection.
  FILETIME t = {};
  std::uint64_t size = 0;
  EXPECT_EQ(dl.CheckNewer(HttpsUrl(served.name(), L"http").c_str(), (dir / L"plain.bin").c_str(), &t, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusCheckFailed);
}

TEST_F(HttpsDownloader, UntrustedCertificateFailsAndKeepsTheOldFile) {
  const std::string body = PatternBytes(30000, 23);
  ServedFile served(L"rogue.bin", body, &kServerTime);
  const std::wstring url = UntrustedUrl(served.name());
  const std::wstring local = dir / L"rogue.bin";
  const FILETIME older = FileTimeOf(2021, 6, 1, 12, 0, 0);
  WriteBytes(local, "the good old file", &older);

  FILETIME t = {};
  std::uint64_t size = 0;
  EXPECT_EQ(dl.CheckNewer(url.c_str(), local.c_str(), &t, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusCheckFailed);
  EXPECT_EQ(dl.CheckAndDownload(url.c_str(), local.c_str(), local.c_str()), 0);
  EXPECT_EQ(dl.Status(), kStatusNewer);
  EXPECT_EQ(dl.Download(url.c_str(), local.c_str(), &kServerTime, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusNewer);

  std::string stored;
  ASSERT_TRUE(ReadBytes(local, &stored));
  EXPECT_EQ(stored, "the good old file");
  ASSERT_TRUE(LastWriteTime(local, &t));
  EXPECT_TRUE(SameTime(t, older));
  EXPECT_FALSE(FileExists(local + L".qxpart"));
  const std::wstring fresh = dir / L"new\\rogue.bin";
  EXPECT_EQ(dl.Download(url.c_str(), fresh.c_str(), nullptr, &size), 0);
  EXPECT_FALSE(FolderExists(dir / L"new"));

  // The same file from the trusted server arrives: only the trust differed.
  EXPECT_EQ(dl.CheckAndDownload(HttpsUrl(served.name()).c_str(), local.c_str(), local.c_str()), 1);
  ASSERT_TRUE(ReadBytes(local, &stored));
  EXPECT_TRUE(stored == body);
}

}  // namespace
