#include "ui/options/tests/dialog_fixture.h"

#include "engine/support/core/owned_string.h"

namespace qxu::testing {

void DialogFixture::SetUp() {
  library_.reset(LoadLibraryW(L"QxUpdate.Jpn.dll"));
  ASSERT_TRUE(library_);
  identity_.reset(CreateIdentity());
  ASSERT_TRUE(identity_);
  SetQxUpdateIdentity(identity_.get());
  identity_->osName = ReplaceString(identity_->osName, L"Windows 7");

  // The path is computed once per run and kept: setting it first keeps the
  // tests' files out of the program folder.
  identity_->settingFilePath = ReplaceString(identity_->settingFilePath, settingFile_.c_str());

  context_.library = library_.get();
  context_.identity = identity_.get();
  context_.settings = &settings_;
  context_.options = &options_;
  ClearAssociation();
}

void DialogFixture::TearDown() {
  ClearAssociation();
}

HWND DialogFixture::OpenedDialog(DWORD ui, const std::vector<HWND>& known) {
  HWND dialog = qxtest::WaitForDialog(qxtest::Scope::Thread(ui), known);
  if (dialog) Settle(dialog);
  return dialog;
}

void DialogFixture::ClearAssociation() {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.quf");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\QxUpdateFormat");
}

}  // namespace qxu::testing
