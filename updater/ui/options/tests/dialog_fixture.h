#pragma once
// The dialogs' surroundings for tests: the real language library, an
// identity whose setting file lies in a temporary folder, option fields
// and settings, and the updater's association cleared before and after.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/support/win32/resource_library.h"
#include "engine/identity/win32/program_identity.h"
#include "ui/options/win32/dialog_context.h"
#include "win32/dialogs.h"
#include "win32/files.h"

namespace qxu::testing {

using qxtest::Answer;
using qxtest::Checked;
using qxtest::Click;
using qxtest::ItemText;
using qxtest::MessageBoxText;
using qxtest::Settle;
using qxtest::WindowText;

class DialogFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs show on this thread while drive answers from another.
  int Drive(const std::function<int()>& show, const std::function<void(DWORD ui)>& drive) {
    return qxtest::DriveModal(show, drive);
  }
  // A new dialog of the thread, once it has set itself up: the dialogs show
  // themselves before their set-up is done (the proxy dialog is centred,
  // and so shown, before it disables the user fields).
  static HWND OpenedDialog(DWORD ui, const std::vector<HWND>& known = {});
  static void WaitUntilClosed(HWND window) {
    qxtest::PumpUntil([window] { return !IsWindow(window); }, 5000);
  }

  // A value of the setting file's [QxUpdate] section; "<none>" when missing.
  std::wstring FileValue(const wchar_t* key) const {
    return qxtest::ProfileValue(settingFile_, L"QxUpdate", key);
  }
  bool FileExists() const { return qxtest::FileExists(settingFile_); }
  static void ClearAssociation();

  ModuleHandle library_;
  IdentityOwner identity_;
  UpdaterSettings settings_;
  SettingsOptions options_;
  int& information_ = options_.information;
  int& proxyUserUse_ = options_.proxyUserUse;
  std::wstring& proxyUser_ = options_.proxyUser;
  std::wstring& proxyPassword_ = options_.proxyPassword;
  std::wstring& proxyPasswordScrambled_ = options_.proxyPasswordScrambled;
  DialogContext context_;
  // A folder of its own for every test: the platform's profile cache must
  // not answer from an earlier test's file of the same name.
  qxtest::TempFolder folder_{L"qxu-dialog-test"};
  std::wstring settingFile_ = folder_ / L"settings.ini";
};

}  // namespace qxu::testing
