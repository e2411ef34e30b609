// The update run against the local web server, with the windows replaced by
// a recording port.
#include <gtest/gtest.h>

#include <memory>

#include "engine/support/core/password_scrambler.h"
#include "engine/download/tests/download_helpers.h"
#include "engine/run/tests/recording_port.h"
#include "engine/run/win32/update_run.h"
#include "engine/runrules/core/update_status.h"
#include "win32/files.h"
#include "win32/loopback.h"

using namespace qxu;
using namespace qxtest;

namespace {

const FILETIME kServerTime = FileTimeOf(2024, 8, 1, 12, 0, 0);
const FILETIME kOldTime = FileTimeOf(2019, 3, 3, 3, 3, 3);

std::wstring Folder() { return HttpUrl(L""); }

DownloadItem Item(const std::wstring& name, const std::wstring& localPath) {
  DownloadItem item;
  item.urlFolder = Folder();
  item.fileName = name;
  item.localPath = localPath;
  return item;
}

class UpdateRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ServersRunning()) << "run through with_servers.sh";
    e = std::make_unique<UpdateSession>();
    e->windows = &port;
    e->argumentCount = 1;
    e->startFolder = dir.path();
    e->programPath = dir / L"QxUpdate.exe";
    e->programFolder = dir.path() + L"\\";
  }
  std::unique_ptr<UpdateSession> e;
  RecordingPort port;
  TempFolder dir;
};

TEST_F(UpdateRun, RunItemsCountsDownloadsAndFailsMissingServerCopies) {
  ServedFile fresh(L"run-fresh.bin", PatternBytes(4000, 1), &kServerTime);
  ServedFile same(L"run-same.bin", PatternBytes(3000, 2), &kServerTime);
  WriteBytes(dir / L"run-same.bin", PatternBytes(3000, 2), &kServerTime);
  AddItem(*e, Folder(), fresh.name(), dir / L"run-fresh.bin");
  AddItem(*e, Folder(), same.name(), dir / L"run-same.bin");
  AddItem(*e, Folder(), L"run-missing.bin", dir / L"run-missing.bin");

  RunItems(*e);
  EXPECT_EQ(e->run.updatedCount, 1);
  EXPECT_EQ(e->run.allSucceeded, 0);
  EXPECT_EQ(e->run.busy, 0);
  EXPECT_EQ(port.commands, std::vector<int>{RecordingPort::kFinished});
  EXPECT_TRUE(FileExists(dir / L"run-fresh.bin"));
  EXPECT_FALSE(FileExists(dir / L"run-missing.bin"));
  EXPECT_EQ(ResultMessageFor(e->run.updatedCount, e->run.allSucceeded, 1, 0).text,
            L"1個のファイルをアップデートしました\r\nアップデートに失敗したものがあるようです");
}

TEST_F(UpdateRun, ChecksThatFailEverywhereEndWithTheFailureMessage) {
  AddItem(*e, Folder(), L"gone-a.bin", dir / L"gone-a.bin");
  AddItem(*e, Folder(), L"gone-b.bin", dir / L"gone-b.bin");
  // Nobody listens on the discard port: the server cannot be reached.
  AddItem(*e, L"http://127.0.0.1:9/", L"unreachable.bin", dir / L"unreachable.bin");
  RunItems(*e);
  EXPECT_EQ(e->run.updatedCount, 0);
  EXPECT_EQ(e->run.allSucceeded, 0);
  EXPECT_TRUE(port.messages.empty());
  const ResultMessage m = ResultMessageFor(e->run.updatedCount, e->run.allSucceeded, 1, 0);
  EXPECT_EQ(m.icon, MessageIcon::Warning);
  EXPECT_EQ(m.text, L"アップデートに失敗しました");
}

TEST_F(UpdateRun, ConfirmRowsOfFailedChecksShowAnErrorAndUpToDateStaysNotNeeded) {
  ServedFile fresh(L"cfe-fresh.bin", PatternBytes(500, 11), &kServerTime);
  ServedFile same(L"cfe-same.bin", PatternBytes(600, 12), &kServerTime);
  WriteBytes(dir / L"cfe-same.bin", "local copy", &kServerTime);
  AddItem(*e, Folder(), fresh.name(), dir / L"cfe-fresh.bin");
  AddItem(*e, Folder(), L"cfe-missing.bin", dir / L"cfe-missing.bin");
  // Without Content-Length the check stores size 0, so a ticked row is checked again.
  AddItem(*e, Folder() + L"nolen/", same.name(), dir / L"cfe-same.bin");
  e->run.allSucceeded = 1;

  CheckPass(*e);
  EXPECT_EQ(port.status[1], L"エラー");
  EXPECT_EQ(port.status[2], L"アップデート不要(0byte)");
  EXPECT_EQ(e->run.allSucceeded, 0);
  port.checked[1] = true;  // the user ticks both rows that were not newer
  port.checked[2] = 1;
  DownloadPass(*e);
  EXPECT_EQ(port.status[0], L"ダウンロード完了");
  EXPECT_EQ(port.status[1], L"エラー");
  EXPECT_EQ(port.status[2], L"ダウンロード不要");
  EXPECT_EQ(e->run.updatedCount, 1);
  EXPECT_EQ(ResultMessageFor(e->run.updatedCount, e->run.allSucceeded, 1, 1).text,
            L"1個のファイルをアップデートしました\r\nアップデートに失敗したものがあるようです");
  std::string stored;
  ASSERT_TRUE(ReadBytes(dir / L"cfe-same.bin", &stored));
  EXPECT_EQ(stored, "local copy");
}

TEST_F(UpdateRun, OneFailedAndTwoStoredShowsTheFailureLine) {
  ServedFile a(L"two-a.bin", PatternBytes(1000, 3), &kServerTime);
  ServedFile b(L"two-b.bin", PatternBytes(2000, 4), &kServerTime);
  ServedFile cut(L"two-cut.bin", PatternBytes(200000, 5), &kServerTime);
  AddItem(*e, Folder(), a.name(), dir / L"a.bin");
  AddItem(*e, Folder() + L"drop/", cut.name(), dir / L"cut.bin");
  AddItem(*e, Folder(), b.name(), dir / L"b.bin");
  RunItems(*e);
  EXPECT_EQ(e->run.updatedCount, 2);
  EXPECT_EQ(e->run.allSucceeded, 0);
  EXPECT_EQ(ResultMessageFor(e->run.updatedCount, e->run.allSucceeded, 1, 0).text,
            L"2個のファイルをアップデートしました\r\nアップデートに失敗したものがあるようです");
}

TEST_F(UpdateRun, OnlyFailuresWarnEvenWithoutInformation) {
  ServedFile cut(L"only-cut.bin", PatternBytes(200000, 6), &kServerTime);
  AddItem(*e, Folder() + L"drop/", cut.name(), dir / L"cut.bin");
  e->options.silent = true;
  e->options.information = 0;
  RunItems(*e);
  const ResultMessage m = ResultMessageFor(e->run.updatedCount, e->run.allSucceeded, e->options.information, 0);
  EXPECT_EQ(m.icon, MessageIcon::Warning);
  EXPECT_EQ(m.text, L"アップデートに失敗しました");
}

TEST_F(UpdateRun, EmptyCommandLineOnlyAsksForTheOwnUpdate) {
  ServedFile f(L"never.bin", "x", &kServerTime);
  AddItem(*e, Folder(), f.name(), dir / L"never.bin");
  e->argumentCount = 0;
  RunItems(*e);
  EXPECT_TRUE(e->options.ownUpdate);
  EXPECT_FALSE(FileExists(dir / L"never.bin"));
  EXPECT_EQ(e->run.updatedCount, 0);
}

TEST_F(UpdateRun, NothingIsAttemptedOnceKeepGoingIsCleared) {
  e->run.keepGoing = 0;
  EXPECT_EQ(UpdateOneFile(*e, Item(L"x.bin", L""), false), kStatusNotAttempted);
  FILETIME t;
  std::uint64_t size;
  EXPECT_EQ(CheckOneFile(*e, Item(L"x.bin", L""), &t, &size), kStatusCheckFailed);
  EXPECT_FALSE(e->downloader);
}

TEST_F(UpdateRun, OwnProgramFileIsStoredAsHiddenNewCopy) {
  const std::string newer = PatternBytes(9000, 7);
  ServedFile served(L"QxUpdate.exe", newer, &kServerTime);
  WriteBytes(e->programPath, "running program", &kOldTime);
  std::wstring upper = e->programPath;
  for (auto& c : upper) c = towupper(c);
  EXPECT_EQ(UpdateOneFile(*e, Item(L"QxUpdate.exe", upper), false),
            kStatusDone);
  const std::wstring copy = dir / L"QxUpdateNew.exe";
  std::string stored;
  ASSERT_TRUE(ReadBytes(copy, &stored));
  EXPECT_TRUE(stored == newer);
  EXPECT_TRUE(GetFileAttributesW(copy.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(ReadBytes(e->programPath, &stored));
  EXPECT_EQ(stored, "running program");
}

TEST_F(UpdateRun, WithoutLocalPathTheFileLandsInTheStartFolder) {
  ServedFile served(L"start-folder.bin", "here", &kServerTime);
  AddItem(*e, Folder(), served.name(), L"");
  RunItems(*e);
  std::string stored;
  ASSERT_TRUE(ReadBytes(dir / served.name(), &stored));
  EXPECT_EQ(stored, "here");
}

TEST_F(UpdateRun, ConfirmPassesTickNewerFilesAndDownloadTickedOnes) {
  ServedFile fresh(L"cf-fresh.bin", PatternBytes(1234, 8), &kServerTime);
  ServedFile same(L"cf-same.bin", PatternBytes(4321, 9), &kServerTime);
  WriteBytes(dir / L"cf-same.bin", "local copy", &kServerTime);
  AddItem(*e, Folder(), fresh.name(), dir / L"cf-fresh.bin");
  AddItem(*e, Folder(), same.name(), dir / L"cf-same.bin");
  AddItem(*e, Folder(), L"cf-missing.bin", dir / L"cf-missing.bin");
  e->options.silent = true;
  e->run.allSucceeded = 1;

  CheckPass(*e);
  EXPECT_EQ(port.status[0], L"アップデート可能(1234byte)");
  EXPECT_EQ(port.status[1], L"アップデート不要(4321byte)");
  EXPECT_EQ(port.status[2], L"エラー");
  EXPECT_EQ(port.checked, (std::map<int, bool>{{0, true}}));
  EXPECT_EQ(e->items[1].size, 4321u);
  EXPECT_TRUE(SameTime(e->items[1].serverTime, kServerTime));
  EXPECT_EQ(e->items[2].size, 0u);
  EXPECT_EQ(port.commands, std::vector<int>{RecordingPort::kStop});  // silent presses the run button

  port.checked[1] = true;  // the user ticks the up-to-date file as well
  DownloadPass(*e);
  EXPECT_EQ(port.status[0], L"ダウンロード完了");
  EXPECT_EQ(port.status[1], L"ダウンロード完了");
  EXPECT_EQ(port.status[2], L"エラー");
  EXPECT_EQ(e->run.updatedCount, 2);
  EXPECT_EQ(e->run.allSucceeded, 0);
  std::string stored;
  ASSERT_TRUE(ReadBytes(dir / L"cf-same.bin", &stored));
  EXPECT_TRUE(stored == PatternBytes(4321, 9));
  EXPECT_EQ(port.events, (std::vector<std::wstring>{L"check begins", L"check ends", L"download begins"}));
  EXPECT_EQ(port.commands, (std::vector<int>{RecordingPort::kStop, RecordingPort::kFinished}));
}

TEST_F(UpdateRun, CancelledProxyDialogAbortsTheRun) {
  ServedFile a(L"abort-a.bin", "a", &kServerTime);
  ServedFile b(L"abort-b.bin", "b", &kServerTime);
  AddItem(*e, Folder(), a.name(), dir / L"a.bin");
  AddItem(*e, Folder(), b.name(), dir / L"b.bin");
  e->options.proxyUserUse = 1;
  e->options.proxyServer = L"127.0.0.1";
  e->options.proxyPort = std::to_wstring(ServerPort("QX_TEST_PROXY_PORT"));
  DialogWatcher watcher(Scope::ThisProcess(), ProxyPassword(L"", L"", false));
  RunItems(*e);
  EXPECT_EQ(watcher.Seen().size(), 1u) << watcher.Describe();
  ASSERT_EQ(port.messages, std::vector<std::wstring>{L"中断しました"});
  EXPECT_EQ(port.messageTypes[0] & MB_ICONWARNING, static_cast<unsigned>(MB_ICONWARNING));
  EXPECT_EQ(e->run.updatedCount, -1);
  EXPECT_EQ(port.commands, (std::vector<int>{RecordingPort::kStop, RecordingPort::kFinished}));
  EXPECT_FALSE(FileExists(dir / L"b.bin"));
  EXPECT_EQ(ResultMessageFor(e->run.updatedCount, e->run.allSucceeded, 1, 0).icon, MessageIcon::None);
}

TEST_F(UpdateRun, CancelledProxyDialogInTheCheckIsAskedOnceAndLeavesTheRowsUnknown) {
  ServedFile a(L"cf-proxy.bin", "a", &kServerTime);
  const int rows = 8;
  for (int i = 0; i < rows; ++i) AddItem(*e, Folder(), a.name(), dir / (L"p" + std::to_wstring(i) + L".bin"));
  e->options.proxyUserUse = 1;
  e->options.proxyServer = L"127.0.0.1";
  e->options.proxyPort = std::to_wstring(ServerPort("QX_TEST_PROXY_PORT"));
  e->run.allSucceeded = 1;
  DialogWatcher watcher(Scope::ThisProcess(), ProxyPassword(L"", L"", false));
  CheckPass(*e);
  EXPECT_EQ(watcher.Seen().size(), 1u) << watcher.Describe();
  for (int i = 0; i < rows; ++i) EXPECT_EQ(port.status[i], L"不明") << i;
  EXPECT_TRUE(port.checked.empty());
  // The user's own choice is no failed file.
  EXPECT_EQ(e->run.allSucceeded, 1);
  EXPECT_TRUE(port.messages.empty());
  EXPECT_EQ(port.events, (std::vector<std::wstring>{L"check begins", L"check ends"}));
}

TEST_F(UpdateRun, ScrambledProxyPasswordIsUsedWhenItDecodes) {
  ServedFile a(L"scrambled.bin", "s", &kServerTime);
  AddItem(*e, Folder(), a.name(), dir / L"s.bin");
  wchar_t scrambled[64] = {};
  ASSERT_EQ(ScramblePassword(L"qxpass", scrambled, 64), 1);
  e->options.proxyUserUse = 1;
  e->options.proxyServer = L"127.0.0.1";
  e->options.proxyPort = std::to_wstring(ServerPort("QX_TEST_PROXY_PORT"));
  e->options.proxyUser = L"qxuser";
  e->options.proxyPassword = L"wrong";
  e->options.proxyPasswordScrambled = scrambled;
  RunItems(*e);
  EXPECT_EQ(e->run.updatedCount, 1);
  EXPECT_TRUE(FileExists(dir / L"s.bin"));
}

class SelfUpdate : public UpdateRun {
 protected:
  void SetUp() override {
    UpdateRun::SetUp();
    e->windows = nullptr;
    e->stampLastCheck = [this] { ++stamps; };
    folder = ServerPath("QX_TEST_DOCROOT") + L"\\sources\\QxUpdate32";
    CreateDirectoryW((ServerPath("QX_TEST_DOCROOT") + L"\\sources").c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  void TearDown() override { RemoveTree(ServerPath("QX_TEST_DOCROOT") + L"\\sources"); }
  std::wstring Server() { return L"http://127.0.0.1:" + std::to_wstring(ServerPort("QX_TEST_HTTP_PORT")); }
  int stamps = 0;
  std::wstring folder;
};

TEST_F(SelfUpdate, NewerUpdaterIsStoredBesideTheRunningOne) {
  WriteBytes(folder + L"\\QxUpdate.exe", "new updater", &kServerTime);
  WriteBytes(e->programPath, "old updater", &kOldTime);
  RunSelfUpdate(*e, Server().c_str());
  EXPECT_EQ(e->run.updatedCount, 1);
  std::string stored;
  ASSERT_TRUE(ReadBytes(dir / L"QxUpdateNew.exe", &stored));
  EXPECT_EQ(stored, "new updater");
  EXPECT_EQ(stamps, 1);
}

TEST_F(SelfUpdate, NothingNewerStampsTheCheck) {
  WriteBytes(folder + L"\\QxUpdate.exe", "same updater", &kOldTime);
  WriteBytes(e->programPath, "old updater", &kOldTime);
  RunSelfUpdate(*e, Server().c_str());
  EXPECT_EQ(e->run.updatedCount, 0);
  EXPECT_EQ(e->run.allSucceeded, 1);
  EXPECT_FALSE(FileExists(dir / L"QxUpdateNew.exe"));
  EXPECT_EQ(stamps, 1);
}

TEST_F(SelfUpdate, CheckThatCouldNotCompleteLeavesTheCheckForNextTime) {
  WriteBytes(e->programPath, "old updater", &kOldTime);
  RunSelfUpdate(*e, Server().c_str());  // no server copy: 404
  EXPECT_EQ(e->run.allSucceeded, 0);
  EXPECT_EQ(e->run.updatedCount, 0);
  EXPECT_FALSE(FileExists(dir / L"QxUpdateNew.exe"));
  EXPECT_EQ(stamps, 0);

  RunSelfUpdate(*e, L"http://127.0.0.1:9");  // nobody listens there
  EXPECT_EQ(e->run.allSucceeded, 0);
  EXPECT_EQ(e->run.updatedCount, 0);
  EXPECT_FALSE(FileExists(dir / L"QxUpdateNew.exe"));
  EXPECT_EQ(stamps, 0);
}

TEST_F(SelfUpdate, FailedDownloadLeavesTheCheckForNextTime) {
  WriteBytes(folder + L"\\QxUpdate.exe", PatternBytes(300000, 10), &kServerTime);
  WriteBytes(e->programPath, "old updater", &kOldTime);
  // The "drop" mode cuts every response of the folder short.
  RunSelfUpdate(*e, (Server() + L"/drop").c_str());
  EXPECT_EQ(e->run.allSucceeded, 0);
  EXPECT_FALSE(FileExists(dir / L"QxUpdateNew.exe"));
  EXPECT_EQ(stamps, 0);
}

}  // namespace
