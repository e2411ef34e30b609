// The real Vantilo.exe started without arguments: it waits with its window
// open, and a close saves the settings beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include "app_test_support.h"
#include "control_ids.h"
#include "handles.h"

namespace vantilo::test {
namespace {

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindForm(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[32] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == s->pid && std::string(cls) == kMainWindowClass) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

TEST(VantiloProgram, OpensIdleAndSavesOnClose) {
  TempFolder dir;
  ASSERT_TRUE(CopyFileA((BinFolder() + "\\Vantilo.exe").c_str(), (dir / "Vantilo.exe").c_str(), FALSE));
  WriteIni(dir / "Vantilo.ini", "option", {{"parcent", "250"}});
  std::string commandLine = "\"" + (dir / "Vantilo.exe") + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si, &pi));
  FileHandle process(pi.hProcess), thread(pi.hThread);
  // Whatever fails below, the program does not outlive the test.
  struct EndProcess {
    HANDLE h;
    ~EndProcess() {
      if (WaitForSingleObject(h, 0) == WAIT_TIMEOUT) {
        TerminateProcess(h, 1);
        WaitForSingleObject(h, 5000);
      }
    }
  } end{process.Get()};
  WaitForInputIdle(process.Get(), 20000);
  Search search{pi.dwProcessId, nullptr};
  for (int i = 0; i < 200 && !search.found; ++i) {
    EnumWindows(FindForm, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(50);
  }
  ASSERT_NE(search.found, nullptr);
  // Settings were loaded at the first showing, through the edit's handler.
  char text[64] = {};
  SendMessageA(GetDlgItem(search.found, kEdit2), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "100");
  SendMessageA(GetDlgItem(search.found, kEdit5), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Resized");
  // Still open: no arguments means waiting for drops.
  EXPECT_EQ(WaitForSingleObject(process.Get(), 300), static_cast<DWORD>(WAIT_TIMEOUT));
  PostMessageA(search.found, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process.Get(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD code = 99;
  GetExitCodeProcess(process.Get(), &code);
  EXPECT_EQ(code, 0u);
  const std::string ini = dir / "Vantilo.ini";
  EXPECT_EQ(IniValue(ini, "option", "parcent"), "100");
  EXPECT_EQ(IniValue(ini, "pixel", "x"), "150");
  EXPECT_EQ(IniValue(ini, "changed", "folder"), "Resized");
  EXPECT_EQ(IniValue(ini, "changed", "AddName"), "s-");
  EXPECT_EQ(IniValue(ini, "option", "lapnum"), "80");
}

}  // namespace
}  // namespace vantilo::test
