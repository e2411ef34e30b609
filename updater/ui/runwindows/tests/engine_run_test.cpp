// The run windows over the engine's own passes and downloader, against the
// tests' loopback servers.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "ui/lang/resource_ids.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/runwindows/win32/confirm_rows.h"
#include "win32/files.h"
#include "win32/loopback.h"
#include "ui/runwindows/tests/window_test_support.h"

namespace qxu::test {
namespace {

using qxtest::HttpUrl;
using qxtest::ReadBytes;
using qxtest::ServedFile;
using qxtest::WriteBytes;

FILETIME ServerTimeOf(SYSTEMTIME time) {
  FILETIME file{};
  SystemTimeToFileTime(&time, &file);
  return file;
}
// Whole seconds: the server's Last-Modified carries no finer time.
const FILETIME kServerTime = ServerTimeOf({2024, 8, 0, 1, 12, 0, 0, 0});

// Reproducible bytes of a seed.
std::string PatternBytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  unsigned x = seed * 2654435761u + 1;
  for (char& c : bytes) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
  return bytes;
}

// The run of the current test, for its driver threads.
WindowsRun* g_run = nullptr;

struct Sample {
  std::wstring status;
  int bar;
};
std::vector<Sample> g_samples;

DWORD WINAPI SampleProgress(LPVOID) {
  for (int wait = 0; wait < 400 && !g_run->windows->runWindow.load(); ++wait) Sleep(25);
  while (HWND w = g_run->windows->runWindow) {
    wchar_t text[256] = L"";
    GetDlgItemTextW(w, QXU_PROGRESS_STATUS, text, 256);
    g_samples.push_back(
        {text, static_cast<int>(SendDlgItemMessageW(w, QXU_PROGRESS_BAR, PBM_GETPOS, 0, 0))});
    Sleep(20);
  }
  return 0;
}

struct ConfirmSeen {
  std::wstring status[3];
  int marks[3] = {};
};
ConfirmSeen g_confirm;

DWORD WINAPI WaitForCheckThenRun(LPVOID) {
  if (!WaitUntil([] { return g_run->CheckDone(); }, 30000)) return 1;
  HWND list = g_run->List();
  for (int i = 0; i < 3; ++i) {
    g_confirm.status[i] = ListCell(list, i, 1);
    g_confirm.marks[i] = ListRowMark(list, i);
  }
  PostMessageW(GetDlgItem(g_run->windows->runWindow, IDOK), BM_CLICK, 0, 0);
  return 0;
}

class EngineRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qxtest::ServersRunning()) << "run through with_servers.sh";
    ASSERT_TRUE(run.Ready());
    g_run = &run;
  }
  void TearDown() override { g_run = nullptr; }
  WindowsRun run{L"qxu_engine_run.ini"};
  // The items' local files live in the run's folder.
  const qxtest::TempFolder& dir = run.folder;

  void AddItem(const std::wstring& folder, const std::wstring& name, const std::wstring& local) {
    run.AddItem(folder, name, local);
  }
};

TEST_F(EngineRunTest, ProgressWindowDownloadsWithStatusBarAndResult) {
  ServedFile big(L"ew-big.bin", PatternBytes(400000, 11), &kServerTime);
  ServedFile small(L"ew-small.bin", PatternBytes(3000, 12), &kServerTime);
  AddItem(HttpUrl(L"slow/"), big.name(), dir / L"ew-big.bin");
  AddItem(HttpUrl(L""), small.name(), dir / L"ew-small.bin");
  g_samples.clear();
  HANDLE sampler = CreateThread(nullptr, 0, SampleProgress, nullptr, 0, nullptr);
  Watcher watcher(run.iniPath);
  ASSERT_TRUE(run.RunMainWindow());
  WaitForSingleObject(sampler, INFINITE);
  CloseHandle(sampler);

  std::string stored;
  ASSERT_TRUE(ReadBytes(dir / L"ew-big.bin", &stored));
  EXPECT_TRUE(stored == PatternBytes(400000, 11));
  ASSERT_TRUE(ReadBytes(dir / L"ew-small.bin", &stored));
  EXPECT_TRUE(stored == PatternBytes(3000, 12));
  auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u) << watcher.Describe();
  EXPECT_EQ(Narrow(boxes[0].text), "2個のファイルをアップデートしました");

  bool downloadingText = false, partway = false;
  int last = 0;
  bool rising = true;
  for (const Sample& s : g_samples) {
    downloadingText = downloadingText || Narrow(s.status).find("ダウンロード") != std::string::npos;
    partway = partway || (s.bar > 0 && s.bar < 1000);
    if (s.bar < last && s.bar != 0) rising = false;  // 0: the next file starts
    last = s.bar;
  }
  EXPECT_TRUE(downloadingText);
  EXPECT_TRUE(partway);
  EXPECT_TRUE(rising);
  EXPECT_NE(run.IniValue(L"DownloadWindowWidth"), L"0");
}

TEST_F(EngineRunTest, ConfirmWindowChecksTicksAndDownloadsTheTickedFile) {
  ServedFile fresh(L"ew-fresh.bin", PatternBytes(1234, 13), &kServerTime);
  ServedFile same(L"ew-same.bin", PatternBytes(4321, 14), &kServerTime);
  WriteBytes(dir / L"ew-same.bin", "local copy", &kServerTime);
  AddItem(HttpUrl(L""), fresh.name(), dir / L"ew-fresh.bin");
  AddItem(HttpUrl(L""), same.name(), dir / L"ew-same.bin");
  AddItem(HttpUrl(L""), L"ew-missing.bin", dir / L"ew-missing.bin");
  run.session.options.confirm = true;
  HANDLE driver = CreateThread(nullptr, 0, WaitForCheckThenRun, nullptr, 0, nullptr);
  Watcher watcher(run.iniPath);
  ASSERT_TRUE(run.RunMainWindow());
  WaitForSingleObject(driver, INFINITE);
  DWORD code = 1;
  GetExitCodeThread(driver, &code);
  CloseHandle(driver);
  ASSERT_EQ(code, 0u);

  EXPECT_EQ(Narrow(g_confirm.status[0]), "アップデート可能(1234byte)");
  EXPECT_EQ(Narrow(g_confirm.status[1]), "アップデート不要(4321byte)");
  EXPECT_EQ(Narrow(g_confirm.status[2]), "エラー");  // no server copy: the check failed
  EXPECT_EQ(g_confirm.marks[0], 2);
  EXPECT_EQ(g_confirm.marks[1], 1);
  EXPECT_EQ(g_confirm.marks[2], 1);
  std::string stored;
  ASSERT_TRUE(ReadBytes(dir / L"ew-fresh.bin", &stored));
  EXPECT_TRUE(stored == PatternBytes(1234, 13));
  ASSERT_TRUE(ReadBytes(dir / L"ew-same.bin", &stored));
  EXPECT_EQ(stored, "local copy");  // not ticked: left alone
  auto boxes = watcher.Boxes();
  ASSERT_EQ(boxes.size(), 1u) << watcher.Describe();
  EXPECT_EQ(Narrow(boxes[0].text), "1個のファイルをアップデートしました\r\nアップデートに失敗したものがあるようです");
  EXPECT_EQ(run.IniValue(L"ConfirmWindowWidth"), L"400");
}

TEST_F(EngineRunTest, SilentConfirmRunDownloadsNewerFilesUnasked) {
  ServedFile fresh(L"ew-silent.bin", PatternBytes(2222, 15), &kServerTime);
  ServedFile same(L"ew-silent-same.bin", PatternBytes(10, 16), &kServerTime);
  WriteBytes(dir / L"ew-silent-same.bin", "kept", &kServerTime);
  AddItem(HttpUrl(L""), fresh.name(), dir / L"ew-silent.bin");
  AddItem(HttpUrl(L""), same.name(), dir / L"ew-silent-same.bin");
  run.session.options.confirm = true;
  run.session.options.silent = true;
  run.session.options.information = 0;
  Watcher watcher(run.iniPath);
  ASSERT_TRUE(run.RunMainWindow());
  std::string stored;
  ASSERT_TRUE(ReadBytes(dir / L"ew-silent.bin", &stored));
  EXPECT_TRUE(stored == PatternBytes(2222, 15));
  ASSERT_TRUE(ReadBytes(dir / L"ew-silent-same.bin", &stored));
  EXPECT_EQ(stored, "kept");
  EXPECT_EQ(run.session.run.updatedCount, 1);
  EXPECT_TRUE(watcher.Boxes().empty()) << watcher.Describe();
}

}  // namespace
}  // namespace qxu::test
