// Vantilo.exe and the folder it is installed in: help beside the program,
// settings that survive a program folder nobody can write.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app_test_support.h"
#include "control_ids.h"
#include "hosted_window.h"
#include "win32/dialogs.h"
#include "win32/processes.h"

namespace vantilo::test {
namespace {

std::string EditText(HWND form, int id) {
  char text[64] = {};
  SendMessageA(GetDlgItem(form, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

// The program started in workingFolder, its window found.
struct RunningProgram {
  RunningProgram(const std::string& exe, const std::string& workingFolder)
      : process(qxtest::Widen(exe), L"", qxtest::Widen(workingFolder)) {
    if (!process.started()) return;
    WaitForInputIdle(process.handle(), 20000);
    form = qxtest::WaitForWindowOfClass(process.id(), qxtest::Widen(kMainWindowClass).c_str(), 10000);
  }
  int Close() {
    PostMessageA(form, WM_CLOSE, 0, 0);
    return process.Wait(20000);
  }
  qxtest::ChildProcess process;
  HWND form = nullptr;
};

TEST(ProgramFolder, HelpOpensThePageBesideTheProgram) {
  // The window's program lies in a folder of its own; the working folder,
  // as from a shortcut, is another, and the test program's folder holds
  // the help page of the build.
  TempFolder program, elsewhere;
  ASSERT_TRUE(CreateDirectoryA((program / "help").c_str(), nullptr));
  WriteText(program / "help\\help.html", "<p>Vantilo help</p>");
  const std::string opened = elsewhere / "opened.html";
  HtmlOpenerCopiesTo opener(opened);
  char before[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, before);
  SetCurrentDirectoryA(elsewhere.pathA().c_str());
  {
    HostedWindow form(program);
    SendMessageW(form.Control(kBitBtn2), BM_CLICK, 0, 0);
    EXPECT_TRUE(qxtest::PumpUntil([&] { return FileExists(opened); }, 15000)) << "the help page was not opened";
  }
  SetCurrentDirectoryA(before);
  const auto bytes = ReadBytes(opened);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "<p>Vantilo help</p>");
}

TEST(ProgramFolder, SettingsSurviveAProgramFolderThatCannotBeWritten) {
  const char* prepared = std::getenv("VANTILO_READONLY_PROGRAM");
  ASSERT_TRUE(prepared) << "run through ctest, which prepares the read-only program folder";
  std::string folder = prepared;
  for (char& c : folder)
    if (c == '/') c = '\\';
  {
    const std::string probe = folder + "\\probe.txt";
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      CloseHandle(h);
      DeleteFileA(probe.c_str());
      FAIL() << folder << " can be written here: the file system has no immutable flag";
    }
  }
  TempFolder appData;
  ShellFolderRedirect redirect("AppData", appData.pathA());
  const std::string perUser = appData / "Vantilo\\Vantilo.ini";
  {
    RunningProgram run(folder + "\\Vantilo.exe", appData.pathA());
    ASSERT_NE(run.form, nullptr);
    EXPECT_EQ(EditText(run.form, kEdit2), "55");  // from the file beside the program
    SendMessageA(GetDlgItem(run.form, kEdit2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("77"));
    ASSERT_EQ(run.Close(), 0);
  }
  ASSERT_TRUE(FileExists(perUser));
  EXPECT_EQ(IniValue(perUser, "option", "parcent"), "77");
  EXPECT_EQ(IniValue(perUser, "pixel", "Index"), "0");
  EXPECT_EQ(IniValue(folder + "\\Vantilo.ini", "option", "parcent"), "55");
  {
    // The next start reads the user's copy first.
    RunningProgram run(folder + "\\Vantilo.exe", appData.pathA());
    ASSERT_NE(run.form, nullptr);
    EXPECT_EQ(EditText(run.form, kEdit2), "77");
    ASSERT_EQ(run.Close(), 0);
  }
}

TEST(ProgramFolder, AWritableFolderKeepsTheSettingsBesideTheProgram) {
  TempFolder dir;
  // A user's copy left from when the folder could not be written.
  ASSERT_TRUE(CreateDirectoryA((dir / "user").c_str(), nullptr));
  WriteIni(dir / "user\\Vantilo.ini", "option", {{"parcent", "66"}});
  WriteIni(dir / "Vantilo.ini", "option", {{"parcent", "44"}});
  {
    HostedWindow form(dir);
    EXPECT_EQ(form.AnsiText(kEdit2), "66");
    SetWindowTextA(form.Control(kEdit2), "33");
    SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(IniValue(dir / "Vantilo.ini", "option", "parcent"), "33");
  EXPECT_FALSE(FileExists(dir / "user\\Vantilo.ini"));  // no stale copy to be read first
}

}  // namespace
}  // namespace vantilo::test
