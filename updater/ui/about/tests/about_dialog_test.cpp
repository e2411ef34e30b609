// The real about box from the language resource library, driven from a
// second thread while the test's thread runs it modally.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/support/core/owned_string.h"
#include "engine/support/win32/resource_library.h"
#include "ui/about/win32/about_dialog.h"
#include "ui/about/win32/hyperlink.h"
#include "engine/identity/win32/program_identity.h"
#include "ui/lang/resource_ids.h"
#include "win32/dialogs.h"
#include "win32/files.h"

namespace qxu {
namespace {

using qxtest::Answer;
using qxtest::ItemText;
using qxtest::Settle;
using qxtest::WindowText;

class AboutDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    library_.reset(LoadLibraryW(L"QxUpdate.Jpn.dll"));
    ASSERT_TRUE(library_);
    identity_.reset(CreateIdentity());
    ASSERT_TRUE(identity_);
    SetQxUpdateIdentity(identity_.get());
    identity_->osName = ReplaceString(identity_->osName, L"Windows 7 Professional");
  }

  // Runs the box on this thread while drive works on it from another, once
  // the box has finished setting itself up (it shows itself before that).
  int Show(int showSystem, const wchar_t* title, const std::function<void(DWORD ui, HWND dialog)>& drive) {
    return qxtest::DriveModal(
        [&] {
          return ShowAboutDialog(library_.get(), QXU_DIALOG_ABOUT, nullptr, nullptr, nullptr, title,
                                 identity_.get(), showSystem);
        },
        [&](DWORD ui) {
          HWND dialog = qxtest::WaitForDialog(qxtest::Scope::Thread(ui));
          ASSERT_TRUE(dialog);
          Settle(dialog);
          drive(ui, dialog);
        });
  }

  ModuleHandle library_;
  IdentityOwner identity_;
};

TEST_F(AboutDialog, ShowsTheIdentityAndStaysOpenOnCommandOne) {
  HWND seen = nullptr;
  const int result = Show(1, nullptr, [&](DWORD, HWND dialog) {
    seen = dialog;
    EXPECT_EQ(L"バージョン情報", WindowText(dialog));  // the template's title stays
    EXPECT_EQ(L"アップデートソフト QxUpdate on Windows 7 Professional 32bit",
              ItemText(dialog, QXU_ABOUT_DESCRIPTION));
    EXPECT_EQ(L"Version 1.10.01 (11/06/2013)", ItemText(dialog, QXU_ABOUT_VERSION));
    EXPECT_EQ(L"Copyright (C) 2002-2013 Qx Desktop Works", ItemText(dialog, QXU_ABOUT_COPYRIGHT));
    EXPECT_EQ(std::wstring(kDefaultWebAddress), ItemText(dialog, QXU_ABOUT_LINK));

    Answer(dialog, IDOK);
    Settle(dialog);
    EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog));
    Answer(dialog, IDCANCEL);
  });
  EXPECT_EQ(1, result);
  EXPECT_TRUE(seen);
  EXPECT_FALSE(IsWindow(seen));
}

TEST_F(AboutDialog, WithoutTheSystemFlagOrANameTheDescriptionStandsAlone) {
  Show(0, L"About QxUpdate", [&](DWORD, HWND dialog) {
    EXPECT_EQ(L"About QxUpdate", WindowText(dialog));
    EXPECT_EQ(L"アップデートソフト QxUpdate", ItemText(dialog, QXU_ABOUT_DESCRIPTION));
    Answer(dialog, IDCANCEL);
  });
  identity_->osName = ReplaceString(identity_->osName, nullptr);  // as for 6.3 or 10.0
  Show(1, nullptr, [&](DWORD, HWND dialog) {
    EXPECT_EQ(L"アップデートソフト QxUpdate", ItemText(dialog, QXU_ABOUT_DESCRIPTION));
    Answer(dialog, IDCANCEL);
  });
}

TEST_F(AboutDialog, OpensNearThePointerInsideTheWorkArea) {
  SetCursorPos(0, 0);
  Show(1, nullptr, [&](DWORD, HWND dialog) {
    RECT work{}, rect{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(work.left + 5, rect.left);
    EXPECT_EQ(work.top + 5, rect.top);
    Answer(dialog, IDCANCEL);
  });
}

// Width of text in the link's font, underlined as the link draws it.
int MeasuredLinkWidth(HWND link, const std::wstring& text) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  GetObjectW(font, sizeof(description), &description);
  description.lfUnderline = TRUE;
  HFONT underlined = CreateFontIndirectW(&description);
  HDC dc = GetDC(link);
  HGDIOBJ old = SelectObject(dc, underlined);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(link, dc);
  DeleteObject(underlined);
  return extent.cx;
}

HWND CaptureOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(thread, &info);
  return info.hwndCapture;
}

TEST_F(AboutDialog, TheLinkReactsOverItsTextOnly) {
  Show(1, nullptr, [&](DWORD ui, HWND dialog) {
    HWND link = GetDlgItem(dialog, QXU_ABOUT_LINK);
    RedrawWindow(link, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Settle(dialog);
    const int width = MeasuredLinkWidth(link, ItemText(dialog, QXU_ABOUT_LINK));
    RECT client{};
    GetClientRect(link, &client);
    ASSERT_GT(width, 20);
    ASSERT_LT(width + 10, client.right) << "the template's link control must be wider than its text";
    EXPECT_EQ(width, HyperlinkTextWidth(link));

    auto move = [&](int x) {
      SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(x, client.bottom / 2));
      return CaptureOf(ui) == link;
    };
    EXPECT_FALSE(move(width + 1));  // right of the text: no hover
    EXPECT_TRUE(move(width));       // the text's last column
    EXPECT_TRUE(move(0));
    EXPECT_FALSE(move(width + 5));  // leaving the text ends the hover
    EXPECT_FALSE(move(client.right - 1));
    Answer(dialog, IDCANCEL);
  });
}

TEST_F(AboutDialog, AClickOpensTheLinkWithTheShell) {
  // A command file stands in for the web page: opening it leaves a mark.
  qxtest::TempFolder folder(L"qxu-link");
  const std::wstring script = folder / L"link.cmd", mark = folder / L"link.txt";
  ASSERT_TRUE(qxtest::WriteBytes(script, "echo opened> \"" + qxtest::Narrow(mark) + "\"\r\n"));
  Show(1, nullptr, [&](DWORD ui, HWND dialog) {
    HWND link = GetDlgItem(dialog, QXU_ABOUT_LINK);
    SendMessageW(link, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(script.c_str()));
    SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(nullptr, CaptureOf(ui));  // the click ends the hover
    EXPECT_TRUE(IsWindowVisible(dialog));
    Answer(dialog, IDCANCEL);
  });
  EXPECT_TRUE(qxtest::PumpUntil([&] { return qxtest::FileExists(mark); }, 15000));
}

}  // namespace
}  // namespace qxu
