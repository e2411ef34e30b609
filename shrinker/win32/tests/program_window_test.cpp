// The real Vantilo.exe started without arguments: it waits with its window
// open, and a close saves the settings beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include "app_test_support.h"
#include "control_ids.h"
#include "win32/dialogs.h"
#include "win32/processes.h"

namespace vantilo::test {
namespace {

TEST(VantiloProgram, OpensIdleAndSavesOnClose) {
  TempFolder dir;
  ASSERT_TRUE(CopyFileA((BinFolder() + "\\Vantilo.exe").c_str(), (dir / "Vantilo.exe").c_str(), FALSE));
  WriteIni(dir / "Vantilo.ini", "option", {{"parcent", "250"}});
  // Whatever fails below, the program does not outlive the test.
  qxtest::ChildProcess program(dir / L"Vantilo.exe", L"", dir.path());
  ASSERT_TRUE(program.started());
  WaitForInputIdle(program.handle(), 20000);
  const HWND form = qxtest::WaitForWindowOfClass(program.id(), qxtest::Widen(kMainWindowClass).c_str(), 10000);
  ASSERT_NE(form, nullptr);
  // Settings were loaded at the first showing, through the edit's handler.
  char text[64] = {};
  SendMessageA(GetDlgItem(form, kEdit2), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "100");
  SendMessageA(GetDlgItem(form, kEdit5), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Resized");
  // Still open: no arguments means waiting for drops.
  EXPECT_EQ(WaitForSingleObject(program.handle(), 300), static_cast<DWORD>(WAIT_TIMEOUT));
  PostMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.Wait(20000), 0);
  const std::string ini = dir / "Vantilo.ini";
  EXPECT_EQ(IniValue(ini, "option", "parcent"), "100");
  EXPECT_EQ(IniValue(ini, "pixel", "x"), "150");
  EXPECT_EQ(IniValue(ini, "changed", "folder"), "Resized");
  EXPECT_EQ(IniValue(ini, "changed", "AddName"), "s-");
  EXPECT_EQ(IniValue(ini, "option", "lapnum"), "80");
}

}  // namespace
}  // namespace vantilo::test
