// QxUpdate.exe end to end under Wine: command line and description files,
// result messages, the item limit and the four-process self-update chain.
// The program runs with its windows; the runner answers its message boxes.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "engine/download/tests/download_helpers.h"
#include "ui/program/tests/program_runner.h"
#include "win32/dialogs.h"
#include "win32/files.h"
#include "win32/loopback.h"
#include "win32/processes.h"

using namespace qxtest;

namespace {

const FILETIME kServerTime = FileTimeOf(2024, 8, 1, 12, 0, 0);
const FILETIME kOldTime = FileTimeOf(2020, 1, 1, 0, 0, 0);

// The test builds beside this test program.
std::wstring TestBuildFolder() { return ProgramFolder() + L"updater-program-test\\"; }

class QxUpdateProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ServersRunning()) << "run through with_servers.sh";
    ASSERT_TRUE(CopyFileW((TestBuildFolder() + L"qxupdate-loopback.exe").c_str(), Exe().c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((ProgramFolder() + L"QxUpdate.Jpn.dll").c_str(), (dir / L"QxUpdate.Jpn.dll").c_str(), FALSE));
    WriteSettings(L"2026/01/01 00:00:00", 0);
  }
  std::wstring Exe() const { return dir / L"QxUpdate.exe"; }
  std::wstring Ini() const { return dir / (L"QxUpdate-" + UserName() + L".ini"); }
  void WriteSettings(const std::wstring& lastCheck, int autoUpdate) {
    std::string text = "[QxUpdate]\r\nLastCheck=" + Narrow(lastCheck) + "\r\nAutoUpdate=" +
                       std::to_string(autoUpdate) + "\r\nInformation=1\r\n";
    WriteBytes(Ini(), text);
  }
  std::wstring LastCheck() const { return ProfileValue(Ini(), L"QxUpdate", L"LastCheck"); }
  ProgramRun Run(const std::wstring& args) { return RunProgram(Exe(), args, dir.path()); }
  std::wstring ItemText(const std::wstring& url, const std::wstring& local) { return url + L";" + local; }

  TempFolder dir;
};

using Messages = std::vector<std::wstring>;

TEST_F(QxUpdateProgram, DescriptionFilesMergeChainAndDeleteOnlyTheFirst) {
  ServedFile a(L"e2e-a.bin", PatternBytes(3000, 1), &kServerTime);
  ServedFile b(L"e2e-b.bin", PatternBytes(4000, 2), &kServerTime);
  ServedFile c(L"e2e-c.bin", PatternBytes(5000, 3), &kServerTime);
  const std::wstring main = dir / L"main.quf", second = dir / L"second.quf", pair = dir / L"pair.quf";
  WriteBytes(main, "--no-silent -sf " + Narrow(second) + "\r\n--downloadpair " + Narrow(HttpUrl(b.name())) + " " +
                       Narrow(pair) + "\r\n");
  WriteBytes(second, "-dl " + Narrow(ItemText(HttpUrl(a.name()), dir / L"a.bin")) + "\r\n");
  // Older than the server's copy, so the pair downloads over it. It reads like a
  // description file, but a pair's local path is a value, never one.
  WriteBytes(pair, "-dl " + Narrow(ItemText(HttpUrl(c.name()), dir / L"c.bin")) + "\r\n", &kOldTime);

  const ProgramRun run = Run(L"--silent -ds " + main);
  EXPECT_EQ(run.exitCode, 0u);
  // "--silent" switched the information message off; "--no-silent" leaves it off.
  EXPECT_EQ(run.messages, Messages{});
  std::string stored;
  ASSERT_TRUE(ReadBytes(dir / L"a.bin", &stored));
  EXPECT_TRUE(stored == PatternBytes(3000, 1));
  EXPECT_FALSE(FileExists(dir / L"c.bin"));
  ASSERT_TRUE(ReadBytes(pair, &stored));  // the pair's local path received its file
  EXPECT_TRUE(stored == PatternBytes(4000, 2));
  EXPECT_FALSE(FileExists(main));
  EXPECT_TRUE(FileExists(second));
}

TEST_F(QxUpdateProgram, DeleteSettingKeepsTheFileAPairHasJustUpdated) {
  ServedFile a(L"pair-kept.txt", PatternBytes(2500, 7), &kServerTime);
  const std::wstring local = dir / L"a.txt";
  WriteBytes(local, "old contents\r\n", &kOldTime);
  const ProgramRun run = Run(L"-dp " + HttpUrl(a.name()) + L" " + local + L" --delete-setting");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.messages, Messages{L"1個のファイルをアップデートしました"});
  std::string stored;
  ASSERT_TRUE(ReadBytes(local, &stored)) << "the updated file was deleted";
  EXPECT_TRUE(stored == PatternBytes(2500, 7));
}

TEST_F(QxUpdateProgram, OpenedDescriptionFileInAFolderWithAnApostrophe) {
  ServedFile a(L"bobs.bin", PatternBytes(1500, 8), &kServerTime);
  const std::wstring folder = dir / L"Bob's files";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring quf = folder + L"\\tool.quf";
  WriteBytes(quf, "-dl " + Narrow(ItemText(HttpUrl(a.name()), dir / L"bobs.bin")) + "\r\n");
  // Quoted whole, as the file association passes it.
  const ProgramRun run = Run(L"\"" + quf + L"\"");
  EXPECT_EQ(run.messages, Messages{L"1個のファイルをアップデートしました"});
  std::string stored;
  ASSERT_TRUE(ReadBytes(dir / L"bobs.bin", &stored));
  EXPECT_TRUE(stored == PatternBytes(1500, 8));
}

TEST_F(QxUpdateProgram, ResultMessagesFollowTheOutcome) {
  ServedFile a(L"msg-a.bin", PatternBytes(1000, 4), &kServerTime);
  ServedFile b(L"msg-b.bin", PatternBytes(1000, 5), &kServerTime);
  ServedFile cut(L"msg-cut.bin", PatternBytes(300000, 6), &kServerTime);
  const std::wstring getA = L"-dl " + ItemText(HttpUrl(a.name()), dir / L"a.bin");
  const std::wstring getB = L"-dl " + ItemText(HttpUrl(b.name()), dir / L"b.bin");
  const std::wstring getCut = L"-dl " + ItemText(HttpUrl(L"drop/" + cut.name()), dir / L"cut.bin");

  EXPECT_EQ(Run(getA).messages, Messages{L"1個のファイルをアップデートしました"});
  EXPECT_EQ(Run(getA).messages, Messages{L"アップデートの必要はありません"});
  // The runner starts the confirm window's run; the run then ends by itself.
  const ProgramRun confirmed = Run(L"-cf " + getA);
  EXPECT_EQ(confirmed.exitCode, 0u);
  EXPECT_EQ(confirmed.messages, Messages{});
  EXPECT_EQ(Run(L"-ni " + getCut).messages, Messages{L"アップデートに失敗しました"});
  DeleteFileW((dir / L"a.bin").c_str());
  EXPECT_EQ(Run(getA + L" " + getCut + L" " + getB).messages,
            Messages{L"2個のファイルをアップデートしました\r\nアップデートに失敗したものがあるようです"});
}

TEST_F(QxUpdateProgram, ThousandItemsShowTheLimit) {
  std::string quf;
  for (int i = 0; i < 1003; ++i) quf += "-dl " + Narrow(HttpUrl(L"limit-" + std::to_wstring(i) + L".bin")) + "\r\n";
  const std::wstring file = dir / L"many.quf";
  WriteBytes(file, quf);
  const ProgramRun run = Run(file);
  ASSERT_GE(run.messages.size(), 1u);
  EXPECT_EQ(run.messages[0], L"ダウンロード最大数（1000）に達しました");
  // Every check failed (404): a failed run, not one with nothing to update.
  EXPECT_EQ(run.messages, (Messages{L"ダウンロード最大数（1000）に達しました", L"アップデートに失敗しました"}));
}

TEST_F(QxUpdateProgram, EveryFileMissingOnTheServerIsAFailedRun) {
  const std::wstring getA = L"-dl " + ItemText(HttpUrl(L"gone-a.bin"), dir / L"a.bin");
  const std::wstring getB = L"-dl " + ItemText(HttpUrl(L"gone-b.bin"), dir / L"b.bin");
  EXPECT_EQ(Run(getA + L" " + getB).messages, Messages{L"アップデートに失敗しました"});
  // Also without the result message, which a failure does not need.
  EXPECT_EQ(Run(L"-ni " + getA).messages, Messages{L"アップデートに失敗しました"});
  EXPECT_FALSE(FileExists(dir / L"a.bin"));
  EXPECT_FALSE(FileExists(dir / L"b.bin"));
}

TEST_F(QxUpdateProgram, WithoutResourceLibraryTheProgramEndsSilently) {
  ServedFile a(L"silent-end.bin", "x", &kServerTime);
  DeleteFileW((dir / L"QxUpdate.Jpn.dll").c_str());
  const ProgramRun run = Run(L"-dl " + ItemText(HttpUrl(a.name()), dir / L"x.bin"));
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.messages, Messages{});
  EXPECT_FALSE(FileExists(dir / L"x.bin"));
}

TEST_F(QxUpdateProgram, LeftoversOfASelfUpdateAreRemovedAndThatStartUpdatesNothing) {
  ServedFile a(L"leftover.bin", "x", &kServerTime);
  WriteBytes(Exe() + L".qxupdate", "marker");
  WriteBytes(dir / L"QxUpdateNew.exe", "copy of a finished self-update");
  const ProgramRun run = Run(L"-dl " + ItemText(HttpUrl(a.name()), dir / L"x.bin"));
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.messages, Messages{});
  EXPECT_FALSE(FileExists(Exe() + L".qxupdate"));
  EXPECT_FALSE(FileExists(dir / L"QxUpdateNew.exe"));
  EXPECT_FALSE(FileExists(dir / L"x.bin"));
}

class SelfUpdateChain : public QxUpdateProgram {
 protected:
  void SetUp() override {
    QxUpdateProgram::SetUp();
    ASSERT_EQ(ServerPort("QX_TEST_HTTP_PORT"), ServerPort("QX_TEST_SELF_UPDATE_PORT"));
    serverFolder = ServerPath("QX_TEST_DOCROOT") + L"\\sources\\QxUpdate32";
    CreateDirectoryW((ServerPath("QX_TEST_DOCROOT") + L"\\sources").c_str(), nullptr);
    CreateDirectoryW(serverFolder.c_str(), nullptr);
    KernelHandle file(CreateFileW(Exe().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    SetFileTime(file.get(), &kOldTime, &kOldTime, &kOldTime);
    WriteSettings(L"2020/01/01 00:00:00", 1);
    GetLocalTime(&today);
  }
  void TearDown() override { RemoveTree(ServerPath("QX_TEST_DOCROOT") + L"\\sources"); }
  // A "newer" program: the loopback build with bytes appended, which still
  // runs and differs from the installed copy in its content.
  void ServeNewerProgram(const FILETIME& time) {
    ASSERT_TRUE(ReadBytes(TestBuildFolder() + L"qxupdate-loopback.exe", &original));
    served = original + std::string("\0next program\0", 14);
    ASSERT_TRUE(WriteBytes(serverFolder + L"\\QxUpdate.exe", served, &time));
  }
  bool InstalledIs(const std::string& bytes) {
    std::string installed;
    return ReadBytes(Exe(), &installed) && installed == bytes;
  }
  bool CheckedToday() {
    wchar_t prefix[16];
    swprintf(prefix, 16, L"%04d/%02d/%02d", today.wYear, today.wMonth, today.wDay);
    return LastCheck().rfind(prefix, 0) == 0;
  }
  // Processes 3 and 4 are done: the copy is gone and neither program runs.
  bool ChainEnded(DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 250) {
      if (!FileExists(dir / L"QxUpdateNew.exe") && ProcessesOf(L"QxUpdateNew.exe").empty() &&
          ProcessesOf(L"QxUpdate.exe").empty())
        return true;
      Sleep(250);
    }
    return false;
  }
  // The installed program held open without sharing its deletion, as a
  // process still running it or a virus scanner reading it may hold it.
  KernelHandle HoldProgram() {
    return KernelHandle(CreateFileW(Exe().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  }
  std::wstring serverFolder;
  std::string original, served;  // the installed program's bytes, the server's
  SYSTEMTIME today;
};

TEST_F(SelfUpdateChain, DueRunEndsWithTheNewerProgramInPlace) {
  ServeNewerProgram(kServerTime);
  ServedFile a(L"chain-a.bin", "payload", &kServerTime);
  const ProgramRun first = Run(L"-dl " + ItemText(HttpUrl(a.name()), dir / L"a.bin"));
  EXPECT_EQ(first.messages, Messages{L"1個のファイルをアップデートしました"});
  // Processes 2, 3 and 4 follow on their own: wait for the copy to be gone.
  DialogWatcher chain(Scope::AnyProcess(), DialogWatcher::MessageBoxesTitled(L"QxUpdate"));
  bool done = false;
  for (int i = 0; i < 120 && !done; ++i) {
    Sleep(500);
    done = InstalledIs(served) && !FileExists(dir / L"QxUpdateNew.exe");
  }
  EXPECT_TRUE(done) << "installed size " << ReadBytes(Exe()).size() << ", served " << served.size();
  EXPECT_TRUE(InstalledIs(served));
  EXPECT_FALSE(FileExists(dir / L"QxUpdateNew.exe"));
  EXPECT_FALSE(GetFileAttributesW(Exe().c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(CheckedToday()) << LastCheck().size();
}

TEST_F(SelfUpdateChain, ReplacementThatFailsOnceIsTriedAgain) {
  ServeNewerProgram(kServerTime);
  KernelHandle hold = HoldProgram();
  ASSERT_TRUE(hold);
  EXPECT_EQ(Run(L"--own-update").messages, Messages{});
  DialogWatcher chain(Scope::AnyProcess(), DialogWatcher::MessageBoxesTitled(L"QxUpdate"));
  // Let the new copy's first attempt meet the held program, then let go.
  bool copyRuns = false;
  for (int i = 0; i < 120 && !copyRuns; ++i, Sleep(250)) copyRuns = !ProcessesOf(L"QxUpdateNew.exe").empty();
  ASSERT_TRUE(copyRuns);
  for (int i = 0; i < 24 && !FileExists(Exe() + L".qxpart"); ++i) Sleep(250);
  Sleep(1500);
  hold.Reset();

  ASSERT_TRUE(ChainEnded(60000));
  EXPECT_TRUE(InstalledIs(served));
  EXPECT_FALSE(GetFileAttributesW(Exe().c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(FileExists(Exe() + L".qxpart"));
  EXPECT_TRUE(CheckedToday()) << LastCheck().size();
}

TEST_F(SelfUpdateChain, ReplacementThatNeverSucceedsKeepsTheProgramForTheNextStart) {
  ServeNewerProgram(kServerTime);
  {
    KernelHandle hold = HoldProgram();
    ASSERT_TRUE(hold);
    EXPECT_EQ(Run(L"--own-update").messages, Messages{});
    DialogWatcher chain(Scope::AnyProcess(), DialogWatcher::MessageBoxesTitled(L"QxUpdate"));
    ASSERT_TRUE(ChainEnded(90000));
  }
  EXPECT_TRUE(InstalledIs(original));
  EXPECT_FALSE(FileExists(Exe() + L".qxpart"));
  EXPECT_FALSE(CheckedToday()) << "a self-update that did not take place counts as checked";

  // Still due, so the next run fetches the newer program again and puts it in place.
  ServedFile a(L"next-start.bin", "payload", &kServerTime);
  EXPECT_EQ(Run(L"-dl " + ItemText(HttpUrl(a.name()), dir / L"a.bin")).messages,
            Messages{L"1個のファイルをアップデートしました"});
  DialogWatcher chain(Scope::AnyProcess(), DialogWatcher::MessageBoxesTitled(L"QxUpdate"));
  ASSERT_TRUE(ChainEnded(60000));
  EXPECT_TRUE(InstalledIs(served));
  EXPECT_TRUE(CheckedToday()) << LastCheck().size();
}

TEST_F(SelfUpdateChain, NotNewerStoresNothingButStillCountsAsChecked) {
  ServeNewerProgram(kOldTime);
  const ProgramRun run = Run(L"--own-update");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.messages, Messages{});
  DialogWatcher others(Scope::AnyProcess(), DialogWatcher::MessageBoxesTitled(L"QxUpdate"));
  Sleep(2000);  // nothing else may start
  EXPECT_FALSE(FileExists(dir / L"QxUpdateNew.exe"));
  EXPECT_TRUE(InstalledIs(original));
  EXPECT_TRUE(CheckedToday());
}

// The program with its run windows and the language library, its own
// update pointed at a server that cannot be reached.
class WindowedProgram : public QxUpdateProgram {
 protected:
  void SetUp() override {
    QxUpdateProgram::SetUp();
    ASSERT_TRUE(CopyFileW((TestBuildFolder() + L"qxupdate-offline.exe").c_str(), Exe().c_str(), FALSE));
  }
};

TEST_F(WindowedProgram, EveryFileMissingOnTheServerIsAFailedRun) {
  const std::wstring getA = L"-dl " + ItemText(HttpUrl(L"gone-a.bin"), dir / L"a.bin");
  const std::wstring getB = L"-dl " + ItemText(HttpUrl(L"gone-b.bin"), dir / L"b.bin");
  const ProgramRun run = Run(getA + L" " + getB);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.messages, Messages{L"アップデートに失敗しました"});
}

class SelfUpdateOffline : public QxUpdateProgram {
 protected:
  void SetUp() override {
    QxUpdateProgram::SetUp();
    ASSERT_TRUE(CopyFileW((TestBuildFolder() + L"qxupdate-offline.exe").c_str(), Exe().c_str(), FALSE));
    WriteSettings(kDueCheck, 1);
  }
  static constexpr const wchar_t* kDueCheck = L"2020/01/01 00:00:00";
};

TEST_F(SelfUpdateOffline, UnreachableServerLeavesLastCheckForTheNextStart) {
  const ProgramRun run = Run(L"--own-update");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.messages, Messages{});
  EXPECT_FALSE(FileExists(dir / L"QxUpdateNew.exe"));
  EXPECT_EQ(LastCheck(), kDueCheck);
}

// A due start while the self-update server is down: the weekly process
// runs, finds nothing, and the check stays due for the next start.
TEST_F(SelfUpdateOffline, DueStartWithTheServerDownKeepsTheCheckDue) {
  ServedFile a(L"offline-a.bin", "payload", &kServerTime);
  std::atomic<bool> stop{false}, sawOwnUpdate{false};
  std::thread watch([&] {
    while (!stop) {
      for (const ProcessInfo& p : ProcessesOf(L"QxUpdate.exe"))
        if (p.commandLine.find(L"--own-update") != std::wstring::npos) sawOwnUpdate = true;
      Sleep(20);
    }
  });
  const ProgramRun run = Run(L"-dl " + ItemText(HttpUrl(a.name()), dir / L"a.bin"));
  for (int i = 0; i < 240 && !ProcessesOf(L"QxUpdate.exe").empty(); ++i) Sleep(250);
  stop = true;
  watch.join();
  EXPECT_EQ(run.messages, Messages{L"1個のファイルをアップデートしました"});
  EXPECT_TRUE(sawOwnUpdate) << "the due start did not start the self-update";
  EXPECT_TRUE(ProcessesOf(L"QxUpdate.exe").empty());
  EXPECT_FALSE(FileExists(dir / L"QxUpdateNew.exe"));
  EXPECT_EQ(LastCheck(), kDueCheck);
}

}  // namespace
