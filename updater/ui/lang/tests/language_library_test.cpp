// The language resource library as the program uses it: found by the loader,
// every dialog template creatable with its controls, every icon loadable at
// the sizes the program asks for.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/support/win32/resource_library.h"
#include "ui/lang/resource_ids.h"
#include "ui/placement/win32/common_controls.h"
#include "win32/dialogs.h"
#include "win32/files.h"

namespace qxu {
namespace {

class LanguageLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitUpdaterCommonControls();
    SetCurrentDirectoryW(qxtest::ProgramFolder().c_str());
    library_ = new ModuleHandle(LoadLanguageResourceLibrary());
  }
  static void TearDownTestSuite() {
    delete library_;
    library_ = nullptr;
  }
  static HMODULE Module() { return library_->get(); }

  static ModuleHandle* library_;
};
ModuleHandle* LanguageLibrary::library_ = nullptr;

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

struct Dialog : qxtest::WindowHandle {
  Dialog(HMODULE module, int id)
      : qxtest::WindowHandle(CreateDialogParamW(module, MAKEINTRESOURCEW(id), nullptr, QuietDialog, 0)) {}
};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}

using qxtest::WindowText;

struct ExpectedControl {
  int id;
  const wchar_t* className;
  LONG styleBits;  // all must be set
  LONG styleMask;  // with styleValue: a field that must hold exactly that value
  LONG styleValue;
};

void ExpectControls(HWND dialog, const std::vector<ExpectedControl>& controls) {
  for (const ExpectedControl& want : controls) {
    HWND control = GetDlgItem(dialog, want.id);
    ASSERT_NE(control, nullptr) << "control " << want.id;
    EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), want.className), 0)
        << "control " << want.id << " is " << ClassOf(control).c_str();
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    EXPECT_EQ(style & want.styleBits, want.styleBits) << "control " << want.id;
    EXPECT_EQ(style & want.styleMask, want.styleValue) << "control " << want.id;
  }
}

TEST_F(LanguageLibrary, FoundByTheLoaderNextToTheProgram) {
  ASSERT_NE(Module(), nullptr);
  EXPECT_NE(FindResourceW(Module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)), nullptr)
      << "version resource";
}

TEST_F(LanguageLibrary, AboutDialog101) {
  Dialog dialog(Module(), QXU_DIALOG_ABOUT);
  ASSERT_NE(dialog.get(), nullptr);
  EXPECT_EQ(WindowText(dialog.get()), L"バージョン情報");
  ExpectControls(dialog.get(), {{QXU_ABOUT_DESCRIPTION, L"Static", 0, 0, 0},
                                {QXU_ABOUT_VERSION, L"Static", 0, 0, 0},
                                {QXU_ABOUT_COPYRIGHT, L"Static", 0, 0, 0},
                                {QXU_ABOUT_LINK, L"Static", SS_NOTIFY, 0, 0},
                                {IDCANCEL, L"Button", 0, 0, 0}});
}

TEST_F(LanguageLibrary, ConfirmWindow102) {
  Dialog dialog(Module(), QXU_DIALOG_CONFIRM);
  ASSERT_NE(dialog.get(), nullptr);
  EXPECT_EQ(WindowText(dialog.get()), L"アップデートの確認");
  ExpectControls(dialog.get(),
                 {{QXU_CONFIRM_LIST, WC_LISTVIEWW, LVS_OWNERDRAWFIXED | LVS_SINGLESEL, LVS_TYPEMASK, LVS_REPORT},
                  {QXU_CONFIRM_PROGRESS, PROGRESS_CLASSW, 0, 0, 0},
                  {IDOK, L"Button", 0, 0, 0},
                  {IDCANCEL, L"Button", 0, 0, 0}});
  EXPECT_TRUE(GetWindowLongW(dialog.get(), GWL_STYLE) & WS_THICKFRAME);  // the size is stored
}

TEST_F(LanguageLibrary, OptionsDialog201) {
  Dialog dialog(Module(), QXU_DIALOG_OPTIONS);
  ASSERT_NE(dialog.get(), nullptr);
  EXPECT_EQ(WindowText(dialog.get()), L"QxUpdate 環境設定");
  const LONG check = BS_AUTOCHECKBOX;
  ExpectControls(dialog.get(), {{QXU_OPTIONS_SELF_UPDATE, L"Button", 0, BS_TYPEMASK, BS_PUSHBUTTON},
                                {QXU_OPTIONS_PROXY, L"Button", 0, BS_TYPEMASK, BS_PUSHBUTTON},
                                {QXU_OPTIONS_ASSOCIATE, L"Button", 0, BS_TYPEMASK, check},
                                {QXU_OPTIONS_INFORMATION, L"Button", 0, BS_TYPEMASK, check},
                                {QXU_OPTIONS_AUTO_UPDATE, L"Button", 0, BS_TYPEMASK, check},
                                {QXU_OPTIONS_HELP, L"Button", 0, BS_TYPEMASK, BS_PUSHBUTTON},
                                {QXU_OPTIONS_ABOUT, L"Button", 0, BS_TYPEMASK, BS_PUSHBUTTON},
                                {IDCANCEL, L"Button", 0, BS_TYPEMASK, BS_PUSHBUTTON},
                                {IDOK, L"Button", 0, BS_TYPEMASK, BS_DEFPUSHBUTTON}});
}

TEST_F(LanguageLibrary, ProgressWindow202) {
  Dialog dialog(Module(), QXU_DIALOG_PROGRESS);
  ASSERT_NE(dialog.get(), nullptr);
  EXPECT_EQ(WindowText(dialog.get()), L"アップデート中");
  ExpectControls(dialog.get(), {{QXU_PROGRESS_STATUS, L"Static", 0, 0, 0},
                                {QXU_PROGRESS_SECOND_LINE, L"Static", 0, 0, 0},
                                {QXU_PROGRESS_BAR, PROGRESS_CLASSW, 0, 0, 0},
                                {IDOK, L"Button", 0, 0, 0}});
  EXPECT_FALSE(WindowText(GetDlgItem(dialog.get(), QXU_PROGRESS_SECOND_LINE)).empty());
  // Laid out top to bottom as status line, bar, second line.
  RECT status, bar, second;
  GetWindowRect(GetDlgItem(dialog.get(), QXU_PROGRESS_STATUS), &status);
  GetWindowRect(GetDlgItem(dialog.get(), QXU_PROGRESS_BAR), &bar);
  GetWindowRect(GetDlgItem(dialog.get(), QXU_PROGRESS_SECOND_LINE), &second);
  EXPECT_LT(status.top, bar.top);
  EXPECT_LT(bar.top, second.top);
}

TEST_F(LanguageLibrary, ProxyUserDialog203HidesThePassword) {
  Dialog dialog(Module(), QXU_DIALOG_PROXY_USER);
  ASSERT_NE(dialog.get(), nullptr);
  EXPECT_EQ(WindowText(dialog.get()), L"プロキシサーバのユーザ認証");
  ExpectControls(dialog.get(), {{QXU_PROXY_USE, L"Button", 0, BS_TYPEMASK, BS_AUTOCHECKBOX},
                                {QXU_PROXY_USER, L"Edit", 0, ES_PASSWORD, 0},
                                {QXU_PROXY_PASSWORD, L"Edit", ES_PASSWORD, 0, 0},
                                {IDOK, L"Button", 0, 0, 0},
                                {IDCANCEL, L"Button", 0, 0, 0}});
}

// Sizes held by an icon group, read from its directory.
std::vector<int> IconSizes(HMODULE module, int id) {
  std::vector<int> sizes;
  HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  if (!group) return sizes;
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  const DWORD bytes = SizeofResource(module, group);
  if (!data || bytes < 6) return sizes;
  const WORD count = *reinterpret_cast<const WORD*>(data + 4);
  for (WORD i = 0; i < count && 6u + 14u * (i + 1) <= bytes; ++i) {
    const int width = data[6 + 14 * i];
    sizes.push_back(width == 0 ? 256 : width);
  }
  return sizes;
}

void ExpectIcon(HMODULE module, int id, int size) {
  HICON icon = static_cast<HICON>(
      LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  ASSERT_NE(icon, nullptr) << "icon " << id << " at " << size;
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  EXPECT_EQ(bitmap.bmWidth, size) << "icon " << id;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  DestroyIcon(icon);
}

TEST_F(LanguageLibrary, EveryIconHoldsItsOwnSizes) {
  EXPECT_EQ(IconSizes(Module(), QXU_ICON_PROGRAM), (std::vector<int>{32, 16}));
  ExpectIcon(Module(), QXU_ICON_PROGRAM, 32);
  ExpectIcon(Module(), QXU_ICON_PROGRAM, 16);
  for (int id : {QXU_ICON_TRAY_FRAME1, QXU_ICON_TRAY_FRAME2, QXU_ICON_TRAY_FRAME3,
                 QXU_ICON_TRAY_FRAME4, QXU_ICON_UNCHECKED, QXU_ICON_CHECKED}) {
    EXPECT_EQ(IconSizes(Module(), id), (std::vector<int>{16})) << "icon " << id;
    ExpectIcon(Module(), id, 16);
  }
}

}  // namespace
}  // namespace qxu
