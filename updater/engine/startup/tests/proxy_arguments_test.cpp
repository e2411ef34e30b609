// Proxy options of the arguments against stored proxy credentials, in this
// process: BeginRun's option pass, then the run through tinyproxy.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/download/tests/download_helpers.h"
#include "engine/support/core/password_scrambler.h"
#include "engine/run/win32/update_run.h"
#include "engine/startup/win32/updater_process.h"
#include "win32/files.h"
#include "win32/loopback.h"

using namespace qxu;
using namespace qxtest;

namespace {

const FILETIME kServerTime = FileTimeOf(2024, 2, 2, 2, 2, 2);

// Keeps the messages of the run; everything else a window would do is dropped.
class MessagePort : public RunWindowPort {
 public:
  bool OpenRunWindow(bool, bool) override { return true; }
  void EndRunWithoutWindow() override {}
  void ShowProgress(const wchar_t*, double) override {}
  void ShowItemState(int, RowState, std::uint64_t) override {}
  void SetItemChecked(int, bool) override {}
  bool ItemChecked(int) override { return false; }
  void CheckPassBegins() override {}
  void CheckPassEnds() override {}
  void DownloadPassBegins() override {}
  void StopRun() override {}
  void RunFinished() override {}
  void ShowMessage(const wchar_t* text, unsigned) override { messages.push_back(text); }
  std::vector<std::wstring> messages;
};

class ArgumentProxy : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(ServerPort("QX_TEST_PROXY_PORT"), 0) << "run through with_servers.sh";
    GetLocalTime(&process.today);
    UpdateSession& e = process.session;
    e.windows = &port;
    e.startFolder = dir.path();
    // The credentials of the setting file, which belong to the stored proxy.
    wchar_t scrambled[64] = {};
    ASSERT_EQ(ScramblePassword(L"qxpass", scrambled, 64), 1);
    e.options.proxyUserUse = 1;
    e.options.proxyUser = L"qxuser";
    e.options.proxyPassword = L"qxpass";
    e.options.proxyPasswordScrambled = scrambled;
  }
  std::wstring NamedProxy() const {
    return L"-ps 127.0.0.1 -pp " + std::to_wstring(ServerPort("QX_TEST_PROXY_PORT"));
  }
  std::wstring Item(const ServedFile& f) const { return L" -dl " + f.url() + L";" + (dir / f.name()); }

  UpdaterProcess process;
  MessagePort port;
  TempFolder dir;
};

TEST_F(ArgumentProxy, StoredCredentialsAreNotSentToAProxyTheArgumentsName) {
  ServedFile f(L"named-proxy.bin", "through the named proxy", &kServerTime);
  ASSERT_EQ(BeginRun(process, (NamedProxy() + Item(f)).c_str()), 1);
  DialogWatcher watcher(Scope::ThisProcess(), ProxyPassword(L"", L"", false));
  RunItems(process.session);
  // The proxy asked, and only the dialog could answer it.
  EXPECT_EQ(watcher.Seen().size(), 1u) << watcher.Describe();
  EXPECT_EQ(port.messages, std::vector<std::wstring>{L"中断しました"});
  EXPECT_FALSE(FileExists(dir / f.name()));
}

TEST_F(ArgumentProxy, CredentialsNamedWithTheProxyAnswerIt) {
  ServedFile f(L"named-creds.bin", "with its own credentials", &kServerTime);
  ASSERT_EQ(BeginRun(process, (NamedProxy() + L" -pu qxuser -pw qxpass" + Item(f)).c_str()), 1);
  DialogWatcher watcher(Scope::ThisProcess(), ProxyPassword(L"", L"", false));
  RunItems(process.session);
  EXPECT_TRUE(watcher.Seen().empty()) << watcher.Describe();
  EXPECT_EQ(process.session.run.updatedCount, 1);
  EXPECT_TRUE(FileExists(dir / f.name()));
}

TEST_F(ArgumentProxy, StoredPasswordDoesNotCompleteAUserNamedForAnotherProxy) {
  ServedFile f(L"named-user.bin", "user only", &kServerTime);
  ASSERT_EQ(BeginRun(process, (NamedProxy() + L" -pu qxuser" + Item(f)).c_str()), 1);
  DialogWatcher watcher(Scope::ThisProcess(), ProxyPassword(L"", L"", false));
  RunItems(process.session);
  EXPECT_EQ(watcher.Seen().size(), 1u) << watcher.Describe();
  EXPECT_FALSE(FileExists(dir / f.name()));
}

}  // namespace
