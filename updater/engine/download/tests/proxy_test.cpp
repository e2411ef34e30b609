// HttpDownloader through tinyproxy with basic authentication.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/download/tests/download_helpers.h"
#include "engine/download/win32/http_downloader.h"
#include "win32/files.h"
#include "win32/loopback.h"

using namespace qxu;
using namespace qxtest;

namespace {

const FILETIME kServerTime = FileTimeOf(2023, 11, 2, 18, 4, 55);

std::wstring ProxyPort() { return std::to_wstring(ServerPort("QX_TEST_PROXY_PORT")); }

class ProxyDownloader : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ServerPort("QX_TEST_PROXY_PORT"), 0) << "run through with_servers.sh";
    progress.Clear();
    dl.SetProgressCallback(&ProgressLog::Callback, &progress);
  }
  ProgressLog progress;
  HttpDownloader dl;
  TempFolder dir;
};

TEST_F(ProxyDownloader, StoredCredentialsAnswerTheProxy) {
  const std::string body = PatternBytes(30000, 11);
  ServedFile served(L"proxied.bin", body, &kServerTime);
  dl.Configure(1, L"127.0.0.1", ProxyPort().c_str(), L"qxuser", L"qxpass");
  const std::wstring local = dir / L"proxied.bin";
  EXPECT_EQ(dl.CheckAndDownload(HttpUrl(served.name()).c_str(), local.c_str(), local.c_str()), 1)
      << static_cast<int>(dl.Status());
  std::string stored;
  ASSERT_TRUE(ReadBytes(local, &stored));
  EXPECT_TRUE(stored == body);
  const auto texts = progress.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), std::wstring(L"プロキシに接続中")), 1);
}

TEST_F(ProxyDownloader, WrongCredentialsFailTheCheck) {
  ServedFile served(L"refused.bin", "x", &kServerTime);
  dl.Configure(1, L"127.0.0.1", ProxyPort().c_str(), L"qxuser", L"wrong");
  FILETIME t;
  std::uint64_t size = 0;
  EXPECT_EQ(dl.CheckNewer(HttpUrl(served.name()).c_str(), (dir / L"r.bin").c_str(), &t, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusCheckFailed);
}

TEST_F(ProxyDownloader, ProxyPortAloneDoesNotSwitchTheProxyOn) {
  ServedFile served(L"direct.bin", "direct", &kServerTime);
  dl.Configure(0, L"127.0.0.1", ProxyPort().c_str(), nullptr, nullptr);
  FILETIME t;
  std::uint64_t size = 0;
  EXPECT_EQ(dl.CheckNewer(HttpUrl(served.name()).c_str(), (dir / L"d.bin").c_str(), &t, &size), 1);
  const auto texts = progress.Texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), std::wstring(L"プロキシに接続中")), 0);
}

TEST_F(ProxyDownloader, DialogIsShownOnceAndNotForLaterFiles) {
  ServedFile first(L"first.bin", PatternBytes(1000, 12), &kServerTime);
  ServedFile second(L"second.bin", PatternBytes(2000, 13), &kServerTime);
  dl.Configure(1, L"127.0.0.1", ProxyPort().c_str(), nullptr, nullptr);
  DialogWatcher watcher(Scope::ThisProcess(), ProxyPassword(L"qxuser", L"qxpass", true));
  const std::wstring a = dir / L"first.bin";
  const std::wstring b = dir / L"second.bin";
  EXPECT_EQ(dl.CheckAndDownload(HttpUrl(first.name()).c_str(), a.c_str(), a.c_str()), 1)
      << static_cast<int>(dl.Status());
  EXPECT_EQ(dl.CheckAndDownload(HttpUrl(second.name()).c_str(), b.c_str(), b.c_str()), 1)
      << static_cast<int>(dl.Status());
  EXPECT_EQ(watcher.Seen().size(), 1u) << watcher.Describe();
  EXPECT_TRUE(FileExists(a));
  EXPECT_TRUE(FileExists(b));
}

TEST_F(ProxyDownloader, CancelledDialogGives127) {
  ServedFile served(L"cancel.bin", "x", &kServerTime);
  dl.Configure(1, L"127.0.0.1", ProxyPort().c_str(), nullptr, nullptr);
  DialogWatcher watcher(Scope::ThisProcess(), ProxyPassword(L"", L"", false));
  const std::wstring local = dir / L"cancel.bin";
  std::uint64_t size = 0;
  EXPECT_EQ(dl.Download(HttpUrl(served.name()).c_str(), local.c_str(), nullptr, &size), 0);
  EXPECT_EQ(dl.Status(), kStatusCheckFailed);
  EXPECT_EQ(watcher.Seen().size(), 1u) << watcher.Describe();
  EXPECT_FALSE(FileExists(local));
  EXPECT_EQ(dl.ProxyDialogCancelled(), 1);
}

TEST_F(ProxyDownloader, CancelDuringTheCheckIsNotAnUpToDateFile) {
  ServedFile served(L"cancel-check.bin", "x", &kServerTime);
  dl.Configure(1, L"127.0.0.1", ProxyPort().c_str(), nullptr, nullptr);
  DialogWatcher watcher(Scope::ThisProcess(), ProxyPassword(L"", L"", false));
  const std::wstring local = dir / L"cancel-check.bin";
  EXPECT_EQ(dl.CheckAndDownload(HttpUrl(served.name()).c_str(), local.c_str(), local.c_str()), 0);
  EXPECT_EQ(dl.Status(), kStatusCheckFailed);
  EXPECT_EQ(watcher.Seen().size(), 1u) << watcher.Describe();
}

}  // namespace
