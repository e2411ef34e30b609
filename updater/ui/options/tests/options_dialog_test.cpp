// The options dialog of the language library, driven as a user would.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/about/win32/about_dialog.h"
#include "ui/association/win32/file_association.h"
#include "ui/lang/resource_ids.h"
#include "ui/options/tests/dialog_fixture.h"
#include "ui/options/win32/option_tooltips.h"
#include "ui/options/win32/options_dialog.h"

namespace qxu::testing {
namespace {

class OptionsDialog : public DialogFixture {
 protected:
  int Run(const std::function<void(DWORD ui, HWND dialog)>& drive) {
    return Drive([&] { return ShowOptionsDialog(context_); },
                 [&](DWORD ui) {
                   HWND dialog = OpenedDialog(ui);
                   ASSERT_TRUE(dialog);
                   drive(ui, dialog);
                 });
  }
  static std::vector<HWND> Tooltips(HWND dialog) {
    std::vector<HWND> slots;
    for (int i = 0; i < kOptionTooltipSlots; ++i) slots.push_back(OptionTooltipOf(dialog, i));
    return slots;
  }
  // Answers the message box that the last click brings up; its text and caption.
  static std::pair<std::wstring, std::wstring> AnswerBox(DWORD ui, HWND dialog, int answer) {
    HWND box = OpenedDialog(ui, {dialog});
    if (!box) return {L"<no message box>", L""};
    std::pair<std::wstring, std::wstring> seen{MessageBoxText(box), WindowText(box)};
    Answer(box, answer);
    WaitUntilClosed(box);
    Settle(dialog);
    return seen;
  }
};

std::wstring TooltipText(HWND tooltip, HWND control) {
  wchar_t text[1024] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = control;
  tool.uId = 0;
  tool.lpszText = text;
  SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
  return text;
}

TEST_F(OptionsDialog, SetUpShowsTheCurrentStateOnTop) {
  information_ = 1;
  settings_.autoUpdate = 0;
  std::vector<HWND> tips;
  const int result = Run([&](DWORD, HWND dialog) {
    EXPECT_EQ(L"QxUpdate Version 1.10.01", WindowText(dialog));
    EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(Checked(dialog, QXU_OPTIONS_INFORMATION));
    EXPECT_FALSE(Checked(dialog, QXU_OPTIONS_AUTO_UPDATE));
    EXPECT_FALSE(Checked(dialog, QXU_OPTIONS_ASSOCIATE));
    EXPECT_TRUE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));
    EXPECT_TRUE(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));

    tips = Tooltips(dialog);
    const int controls[] = {QXU_OPTIONS_SELF_UPDATE, QXU_OPTIONS_PROXY, QXU_OPTIONS_ASSOCIATE,
                            QXU_OPTIONS_INFORMATION, QXU_OPTIONS_AUTO_UPDATE, QXU_OPTIONS_HELP,
                            QXU_OPTIONS_ABOUT, IDCANCEL};
    for (int i = 0; i < kOptionTooltipSlots; ++i) {
      ASSERT_TRUE(IsWindow(tips[i])) << i;
      EXPECT_FALSE(TooltipText(tips[i], GetDlgItem(dialog, controls[i])).empty()) << i;
    }
    EXPECT_EQ(L"QxUpdate自身のバージョンアップを確認してアップデートを行います",
              TooltipText(tips[0], GetDlgItem(dialog, QXU_OPTIONS_SELF_UPDATE)));
    EXPECT_EQ(L"QxUpdateの環境設定ウィンドウを閉じます",
              TooltipText(tips[7], GetDlgItem(dialog, IDCANCEL)));
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(IDCANCEL, result);
  for (HWND tip : tips) EXPECT_FALSE(IsWindow(tip));
  EXPECT_FALSE(FileExists());  // closing saves nothing
}

TEST_F(OptionsDialog, CheckBoxesSaveAtOnceAndTooltipsAreRebuilt) {
  information_ = 0;
  settings_.autoUpdate = 0;
  const int result = Run([&](DWORD, HWND dialog) {
    std::vector<HWND> before = Tooltips(dialog);
    Click(dialog, QXU_OPTIONS_INFORMATION);
    Settle(dialog);
    EXPECT_TRUE(Checked(dialog, QXU_OPTIONS_INFORMATION));
    ASSERT_TRUE(FileExists());
    EXPECT_EQ(L"1", FileValue(L"Information"));
    EXPECT_EQ(L"0", FileValue(L"AutoUpdate"));

    std::vector<HWND> after = Tooltips(dialog);
    for (int i = 0; i < kOptionTooltipSlots; ++i) {
      EXPECT_FALSE(IsWindow(before[i])) << i;
      EXPECT_TRUE(IsWindow(after[i])) << i;
    }

    Click(dialog, QXU_OPTIONS_AUTO_UPDATE);
    Settle(dialog);
    EXPECT_EQ(L"1", FileValue(L"AutoUpdate"));
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(1, information_);
  EXPECT_EQ(1, settings_.autoUpdate);
  EXPECT_EQ(L"1", FileValue(L"Information"));  // kept after closing
  EXPECT_EQ(L"1", FileValue(L"AutoUpdate"));
  EXPECT_TRUE(GetFileAttributesW(settingFile_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(OptionsDialog, OkSavesAndSelfUpdateEndsTheDialog) {
  EXPECT_EQ(IDOK, Run([&](DWORD, HWND dialog) { Click(dialog, IDOK); }));
  EXPECT_TRUE(FileExists());
  EXPECT_EQ(L"Version 1.10.01", FileValue(L"Version"));

  SetFileAttributesW(settingFile_.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(settingFile_.c_str());
  std::vector<HWND> tips;
  EXPECT_EQ(kOptionsSelfUpdateNow, Run([&](DWORD, HWND dialog) {
              tips = Tooltips(dialog);
              Click(dialog, QXU_OPTIONS_SELF_UPDATE);
            }));
  EXPECT_FALSE(FileExists());
  ASSERT_EQ(tips.size(), static_cast<std::size_t>(kOptionTooltipSlots));
  for (HWND tip : tips) EXPECT_FALSE(IsWindow(tip));
}

TEST_F(OptionsDialog, AssociationAskedAndCancelledStaysClear) {
  Run([&](DWORD ui, HWND dialog) {
    Click(dialog, QXU_OPTIONS_ASSOCIATE);
    auto [text, caption] = AnswerBox(ui, dialog, IDCANCEL);
    EXPECT_EQ(L"アップデート設定ファイルを関連付けます．\r\nよろしいですか？", text);
    EXPECT_EQ(L"確認", caption);
    EXPECT_FALSE(Checked(dialog, QXU_OPTIONS_ASSOCIATE));
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(0, QueryAssociation(L"QxUpdateFormat", L".quf"));
}

TEST_F(OptionsDialog, AssociationMadeThenKeptOnNoThenRemovedOnYes) {
  Run([&](DWORD ui, HWND dialog) {
    Click(dialog, QXU_OPTIONS_ASSOCIATE);
    AnswerBox(ui, dialog, IDOK);
    // Only now, after the registry changed, the confirmation follows.
    auto [done, doneCaption] = AnswerBox(ui, dialog, IDOK);
    EXPECT_EQ(L"関連付けしました", done);
    EXPECT_EQ(L"QxUpdate", doneCaption);
    EXPECT_TRUE(Checked(dialog, QXU_OPTIONS_ASSOCIATE));
    EXPECT_EQ(1, QueryAssociation(L"QxUpdateFormat", L".quf"));

    Click(dialog, QXU_OPTIONS_ASSOCIATE);
    auto [question, caption] = AnswerBox(ui, dialog, IDNO);
    EXPECT_EQ(L"アップデート設定ファイルの関連付けを削除します．\r\nよろしいですか？", question);
    EXPECT_EQ(L"QxUpdate", caption);
    EXPECT_TRUE(Checked(dialog, QXU_OPTIONS_ASSOCIATE));
    EXPECT_EQ(1, QueryAssociation(L"QxUpdateFormat", L".quf"));

    Click(dialog, QXU_OPTIONS_ASSOCIATE);
    AnswerBox(ui, dialog, IDYES);
    EXPECT_EQ(L"関連付けを削除しました", AnswerBox(ui, dialog, IDOK).first);
    EXPECT_FALSE(Checked(dialog, QXU_OPTIONS_ASSOCIATE));
    Click(dialog, IDCANCEL);
  });
  EXPECT_EQ(0, QueryAssociation(L"QxUpdateFormat", L".quf"));
}

TEST_F(OptionsDialog, AssociationWritesTheOptionsDialogsValues) {
  Run([&](DWORD ui, HWND dialog) {
    Click(dialog, QXU_OPTIONS_ASSOCIATE);
    AnswerBox(ui, dialog, IDOK);
    AnswerBox(ui, dialog, IDOK);
    Click(dialog, IDCANCEL);
  });
  auto value = [](const wchar_t* path) {
    wchar_t text[1024] = {};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, path, nullptr, RRF_RT_REG_SZ, nullptr, text, &bytes);
    return std::wstring(text);
  };
  const std::wstring program = identity_->programPath;
  EXPECT_EQ(L"QxUpdateFormat", value(L"Software\\Classes\\.quf"));
  EXPECT_EQ(L"QxUpdateアップデートファイル", value(L"Software\\Classes\\QxUpdateFormat"));
  EXPECT_EQ(program + L",1", value(L"Software\\Classes\\QxUpdateFormat\\DefaultIcon"));
  EXPECT_EQ(L"アップデート実行(&R)", value(L"Software\\Classes\\QxUpdateFormat\\shell\\open"));
  EXPECT_EQ(L"\"" + program + L"\" \"%1\"",
            value(L"Software\\Classes\\QxUpdateFormat\\shell\\open\\command"));
}

TEST_F(OptionsDialog, AnExistingAssociationIsShownTicked) {
  ASSERT_EQ(1, RegisterAssociation(L"QxUpdateFormat", L"x", nullptr, L"a.exe", L".quf", L"a.exe", 1));
  Run([&](DWORD, HWND dialog) {
    EXPECT_TRUE(Checked(dialog, QXU_OPTIONS_ASSOCIATE));
    Click(dialog, IDCANCEL);
  });
}

TEST_F(OptionsDialog, HelpWithoutItsFileSaysSoAndTheDialogStays) {
  Run([&](DWORD ui, HWND dialog) {
    std::vector<HWND> before = Tooltips(dialog);
    Click(dialog, QXU_OPTIONS_HELP);
    auto [text, caption] = AnswerBox(ui, dialog, IDOK);
    EXPECT_EQ(L"Cannot find help file.", text);
    EXPECT_EQ(L"HtmlHelp Error", caption);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(IsWindow(before[0]));
    EXPECT_TRUE(IsWindow(OptionTooltipOf(dialog, 0)));
    Click(dialog, IDCANCEL);
  });
}

TEST_F(OptionsDialog, AboutBoxOpensOwnedWithTheSystemName) {
  Run([&](DWORD ui, HWND dialog) {
    Click(dialog, QXU_OPTIONS_ABOUT);
    HWND about = OpenedDialog(ui, {dialog});
    ASSERT_TRUE(about);
    EXPECT_EQ(dialog, GetWindow(about, GW_OWNER));
    EXPECT_EQ(L"アップデートソフト QxUpdate on Windows 7 32bit", ItemText(about, kAboutDescriptionControl));
    EXPECT_TRUE(SendMessageW(about, WM_GETICON, ICON_BIG, 0));
    Answer(about, IDCANCEL);
    WaitUntilClosed(about);
    Settle(dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    Click(dialog, IDCANCEL);
  });
}

}  // namespace
}  // namespace qxu::testing
