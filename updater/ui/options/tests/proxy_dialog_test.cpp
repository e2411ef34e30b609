// The proxy dialog on its own, from the options dialog and from the
// first-run questions.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "engine/support/core/owned_string.h"
#include "engine/support/core/password_scrambler.h"
#include "ui/association/win32/file_association.h"
#include "ui/lang/resource_ids.h"
#include "ui/options/tests/dialog_fixture.h"
#include "ui/options/win32/first_run_actions.h"
#include "ui/options/win32/options_dialog.h"
#include "ui/options/win32/proxy_dialog.h"
#include "engine/settings/win32/first_run.h"

namespace qxu::testing {
namespace {

class ProxyDialog : public DialogFixture {
 protected:
  int Run(const std::function<void(HWND dialog)>& drive) {
    return Drive([&] { return ShowProxyDialog(context_); },
                 [&](DWORD ui) {
                   HWND dialog = OpenedDialog(ui);
                   ASSERT_TRUE(dialog);
                   drive(dialog);
                 });
  }
  static void Type(HWND dialog, int id, const wchar_t* text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  }
  static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }
};

TEST_F(ProxyDialog, ShowsTheLoadedPasswordPlain) {
  // A setting file as an earlier run left it: the password scrambled only.
  wchar_t scrambled[64];
  ASSERT_EQ(1, ScramblePassword(L"pa55word", scrambled, 64));
  const std::wstring text = std::wstring(L"[QxUpdate]\r\nProxyUserUse=1\r\nProxyUserName=alice\r\n") +
                            L"ProxyUserPassword=" + scrambled + L"\r\nLastCheck=2026/12/01 10:00:00\r\n";
  ASSERT_TRUE(qxtest::WriteBytes(settingFile_, "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()),
                                                                      text.size() * sizeof(wchar_t))));
  ASSERT_EQ(1, LoadUpdaterSettings(identity_.get(), &settings_, options_, FirstRunHooks{}));
  ASSERT_FALSE(proxyPasswordScrambled_.empty());
  ASSERT_EQ(L"pa55word", proxyPassword_);
  proxyPassword_.clear();  // the dialog must find it from the scrambled form alone

  const int result = Run([&](HWND dialog) {
    EXPECT_EQ(L"QxUpdate Version 1.10.01", WindowText(dialog));
    EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(Checked(dialog, QXU_PROXY_USE));
    EXPECT_EQ(L"alice", ItemText(dialog, QXU_PROXY_USER));
    EXPECT_EQ(L"pa55word", ItemText(dialog, QXU_PROXY_PASSWORD));
    EXPECT_TRUE(Enabled(dialog, QXU_PROXY_USER));
    EXPECT_TRUE(Enabled(dialog, QXU_PROXY_PASSWORD));
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(std::wstring(scrambled), FileValue(L"ProxyUserPassword"));  // cancel writes nothing
}

TEST_F(ProxyDialog, CheckBoxTakesEffectEvenWhenCancelled) {
  proxyUserUse_ = 1;
  Run([&](HWND dialog) {
    Click(dialog, QXU_PROXY_USE);
    Settle(dialog);
    EXPECT_FALSE(Enabled(dialog, QXU_PROXY_USER));
    EXPECT_FALSE(Enabled(dialog, QXU_PROXY_PASSWORD));
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(0, proxyUserUse_);
  SaveDialogSettings(context_);  // the next save
  EXPECT_EQ(L"0", FileValue(L"ProxyUserUse"));

  Run([&](HWND dialog) {
    EXPECT_FALSE(Enabled(dialog, QXU_PROXY_USER));
    Click(dialog, QXU_PROXY_USE);
    Settle(dialog);
    EXPECT_TRUE(Enabled(dialog, QXU_PROXY_PASSWORD));
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(1, proxyUserUse_);
}

TEST_F(ProxyDialog, OkScramblesAndSaves) {
  const int result = Run([&](HWND dialog) {
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, QXU_PROXY_PASSWORD), GWL_STYLE) & ES_PASSWORD);
    Click(dialog, QXU_PROXY_USE);
    Type(dialog, QXU_PROXY_USER, L"bob");
    Type(dialog, QXU_PROXY_PASSWORD, L"Tr0ub4dor&3");
    Click(dialog, IDOK);
  });
  EXPECT_EQ(IDOK, result);
  ASSERT_TRUE(!proxyUser_.empty() && !proxyPassword_.empty() && !proxyPasswordScrambled_.empty());
  EXPECT_EQ(L"Tr0ub4dor&3", proxyPassword_);
  EXPECT_EQ(L"1", FileValue(L"ProxyUserUse"));
  EXPECT_EQ(L"bob", FileValue(L"ProxyUserName"));
  const std::wstring stored = FileValue(L"ProxyUserPassword");
  EXPECT_EQ(proxyPasswordScrambled_, stored);
  EXPECT_EQ(std::wstring::npos, stored.find(L"Tr0ub4dor"));
  wchar_t plain[1024];
  ASSERT_EQ(1, UnscramblePassword(stored.c_str(), plain, 1024));
  EXPECT_EQ(L"Tr0ub4dor&3", std::wstring(plain));
}

TEST_F(ProxyDialog, EmptyPasswordOnOkRemovesBothForms) {
  proxyUserUse_ = 1;
  proxyUser_ = L"bob";
  proxyPassword_ = L"secret";
  wchar_t scrambled[64];
  ASSERT_EQ(1, ScramblePassword(L"secret", scrambled, 64));
  proxyPasswordScrambled_ = scrambled;
  SaveDialogSettings(context_);
  ASSERT_EQ(std::wstring(scrambled), FileValue(L"ProxyUserPassword"));

  Run([&](HWND dialog) {
    EXPECT_EQ(L"secret", ItemText(dialog, QXU_PROXY_PASSWORD));
    Type(dialog, QXU_PROXY_PASSWORD, L"");
    Click(dialog, IDOK);
  });
  EXPECT_EQ(L"", proxyPassword_);
  EXPECT_EQ(L"", proxyPasswordScrambled_);
  EXPECT_EQ(L"<none>", FileValue(L"ProxyUserPassword"));
  EXPECT_EQ(L"bob", FileValue(L"ProxyUserName"));
}

TEST_F(ProxyDialog, OpenedFromTheOptionsDialog) {
  Drive([&] { return ShowOptionsDialog(context_); },
        [&](DWORD ui) {
          HWND options = OpenedDialog(ui);
          ASSERT_TRUE(options);
          Click(options, QXU_OPTIONS_PROXY);
          HWND proxy = OpenedDialog(ui, {options});
          ASSERT_TRUE(proxy);
          EXPECT_TRUE(GetDlgItem(proxy, QXU_PROXY_PASSWORD));
          Type(proxy, QXU_PROXY_USER, L"carol");
          Click(proxy, IDOK);
          WaitUntilClosed(proxy);
          Settle(options);
          EXPECT_TRUE(IsWindowVisible(options));
          Click(options, IDCANCEL);
        });
  EXPECT_EQ(L"carol", proxyUser_);
  EXPECT_EQ(L"carol", FileValue(L"ProxyUserName"));
}

TEST_F(ProxyDialog, FirstRunQuestionsMakeTheAssociationAndShowTheDialog) {
  UpdaterSettings loaded;
  Drive(
      [&] { return LoadUpdaterSettings(identity_.get(), &loaded, options_,
                                       DialogFirstRunHooks(&context_)); },
      [&](DWORD ui) {
        auto answer = [&](int button) {
          HWND box = OpenedDialog(ui);
          if (!box) return std::wstring(L"<no window>");
          std::wstring text = MessageBoxText(box);
          Answer(box, button);
          WaitUntilClosed(box);
          return text;
        };
        EXPECT_EQ(kFirstRunWelcome, answer(IDYES));
        EXPECT_EQ(kFirstRunAssociate, answer(IDYES));
        EXPECT_EQ(L"関連付けしました", answer(IDOK));
        EXPECT_EQ(kFirstRunProxy, answer(IDYES));
        HWND proxy = OpenedDialog(ui);
        ASSERT_TRUE(proxy);
        EXPECT_TRUE(GetDlgItem(proxy, QXU_PROXY_USE));
        Click(proxy, QXU_PROXY_USE);
        Type(proxy, QXU_PROXY_USER, L"dave");
        Type(proxy, QXU_PROXY_PASSWORD, L"hunter2");
        Click(proxy, IDOK);
        WaitUntilClosed(proxy);
        EXPECT_EQ(kFirstRunInformation, answer(IDNO));
        EXPECT_EQ(kFirstRunAutoUpdate, answer(IDYES));
      });
  EXPECT_EQ(1, QueryAssociation(L"QxUpdateFormat", L".quf"));
  wchar_t description[256] = {};
  DWORD bytes = sizeof(description) - sizeof(wchar_t);
  RegGetValueW(HKEY_CURRENT_USER, L"Software\\Classes\\QxUpdateFormat", nullptr, RRF_RT_REG_SZ,
               nullptr, description, &bytes);
  EXPECT_EQ(L"QxUpdate設定ファイル", std::wstring(description));
  EXPECT_EQ(L"dave", FileValue(L"ProxyUserName"));
  EXPECT_EQ(L"1", FileValue(L"ProxyUserUse"));
  EXPECT_EQ(L"0", FileValue(L"Information"));
  EXPECT_EQ(L"1", FileValue(L"AutoUpdate"));
  EXPECT_NE(L"<none>", FileValue(L"ProxyUserPassword"));
}

}  // namespace
}  // namespace qxu::testing
