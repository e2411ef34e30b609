#pragma once
// The dialogs' surroundings for tests: the real language library, an
// identity whose setting file lies in the temporary folder, option fields
// and settings, and the updater's association cleared before and after.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/support/win32/resource_library.h"
#include "ui/about/tests/dialog_driver.h"
#include "ui/identity/win32/program_identity.h"
#include "ui/options/win32/dialog_context.h"

namespace qxu::testing {

class DialogFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs show on this thread while drive answers from another.
  int Drive(const std::function<int()>& show, const ModalDriver::Drive& drive) {
    return ModalDriver::Run(show, drive);
  }

  // A value of the setting file's [QxUpdate] section; "<none>" when missing.
  std::wstring FileValue(const wchar_t* key) const;
  bool FileExists() const;
  static void ClearAssociation();

  ModuleHandle library_;
  IdentityOwner identity_;
  UpdaterSettings settings_;
  int information_ = 1;
  int proxyUserUse_ = 0;
  wchar_t* proxyUser_ = nullptr;
  wchar_t* proxyPassword_ = nullptr;
  wchar_t* proxyPasswordScrambled_ = nullptr;
  DialogContext context_;
  std::wstring settingFile_;
};

}  // namespace qxu::testing
