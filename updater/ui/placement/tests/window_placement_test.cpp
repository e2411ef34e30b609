// Placement helpers and tooltips on real windows under Wine.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "ui/placement/win32/common_controls.h"
#include "ui/placement/win32/tooltip.h"
#include "ui/placement/win32/window_placement.h"
#include "win32/owned.h"

namespace qxu {
namespace {

struct TestWindow : qxtest::WindowHandle {
  TestWindow(int x, int y, int w, int h, DWORD style = WS_OVERLAPPEDWINDOW)
      : qxtest::WindowHandle(CreateWindowExW(0, L"STATIC", L"placement", style, x, y, w, h, nullptr, nullptr,
                                             GetModuleHandleW(nullptr), nullptr)) {}
};

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT WorkArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

TEST(WindowPlacement, StoredRectangleOffScreenComesBackByScreenWidths) {
  TestWindow window(0, 0, 200, 100);
  ASSERT_NE(window.get(), nullptr);
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  const int screen = desktop.right;
  ASSERT_GT(screen, 400);

  RectRecord stored{3 * screen + 100, -static_cast<int>(desktop.bottom) - 100, 400, 300};
  ASSERT_EQ(PlaceAtStoredRect(window.get(), &stored, 1), 1);
  EXPECT_EQ(stored.x, 100);  // three screen widths back
  EXPECT_EQ(stored.y, -100);  // one screen height down puts the centre on screen
  const RECT placed = WindowRect(window.get());
  EXPECT_EQ(placed.left, stored.x);
  EXPECT_EQ(placed.top, stored.y);
  EXPECT_EQ(placed.right - placed.left, 400);
  EXPECT_EQ(placed.bottom - placed.top, 300);

  RectRecord keepSize{50, 60, 999, 999};
  PlaceAtStoredRect(window.get(), &keepSize, 0);
  const RECT moved = WindowRect(window.get());
  EXPECT_EQ(moved.left, 50);
  EXPECT_EQ(moved.right - moved.left, 400);  // size flag 0 keeps the size
  EXPECT_EQ(PlaceAtStoredRect(nullptr, &keepSize, 1), 0);
  EXPECT_EQ(PlaceAtStoredRect(window.get(), nullptr, 1), 0);
}

TEST(WindowPlacement, ReadRectangleGivesTheNormalPositionOfAMaximisedWindow) {
  TestWindow window(30, 40, 320, 240);
  ShowWindow(window.get(), SW_SHOWNORMAL);
  RectRecord rect;
  int state = 0;
  ASSERT_EQ(ReadWindowRect(window.get(), &rect, &state), 1);
  EXPECT_EQ(state, 1);
  EXPECT_EQ(rect.x, 30);
  EXPECT_EQ(rect.y, 40);
  EXPECT_EQ(rect.width, 320);
  EXPECT_EQ(rect.height, 240);

  ShowWindow(window.get(), SW_MAXIMIZE);
  RectRecord normal;
  ASSERT_EQ(ReadWindowRect(window.get(), &normal, &state), 1);
  EXPECT_EQ(state, 3);
  EXPECT_EQ(normal.width, 320);
  EXPECT_EQ(normal.height, 240);
  EXPECT_EQ(ReadWindowRect(window.get(), nullptr, nullptr), 1);
  EXPECT_EQ(ReadWindowRect(nullptr, &normal, &state), 0);
}

TEST(WindowPlacement, CentredInTheBoxFromZeroToTheWorkAreaEdge) {
  TestWindow window(5, 7, 300, 200, WS_POPUP);
  CentreWindow(window.get(), 0, nullptr);
  const RECT area = WorkArea();
  RECT placed = WindowRect(window.get());
  EXPECT_EQ(placed.left, (area.right - 300) / 2);
  EXPECT_EQ(placed.top, (area.bottom - 200) / 2);
  EXPECT_TRUE(IsWindowVisible(window.get()));

  SetWindowPos(window.get(), nullptr, 5, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  CentreWindow(window.get(), 1, nullptr);
  placed = WindowRect(window.get());
  EXPECT_EQ(placed.left, (area.right - 300) / 2);
  EXPECT_EQ(placed.top, 7);
}

TEST(WindowPlacement, NearThePointerInsideTheWorkArea) {
  TestWindow window(0, 0, 300, 200, WS_POPUP);
  const RECT area = WorkArea();
  // The test display lets the pointer move; a display that did not could not
  // show what this test is about.
  ASSERT_TRUE(SetCursorPos(area.left, area.top));
  POINT at{};
  GetCursorPos(&at);
  ASSERT_TRUE(at.x == area.left && at.y == area.top) << "pointer did not move";
  PlaceNearPointer(window.get(), 5, 1);
  RECT placed = WindowRect(window.get());
  EXPECT_EQ(placed.left, area.left + 5);
  EXPECT_EQ(placed.top, area.top + 5);
  EXPECT_TRUE(IsWindowVisible(window.get()));

  SetCursorPos(area.right - 1, area.bottom - 1);
  PlaceNearPointer(window.get(), 5, 0);
  placed = WindowRect(window.get());
  EXPECT_EQ(placed.right, area.right - 5);
  EXPECT_EQ(placed.bottom, area.bottom - 5);
}

TEST(Tooltip, AttachedToAControlWithMarginsAndWrapWidth) {
  InitUpdaterCommonControls();
  TestWindow dialog(0, 0, 300, 200);
  HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24,
                                dialog.get(), reinterpret_cast<HMENU>(2301), GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(button, nullptr);
  HINSTANCE instance = GetModuleHandleW(nullptr);

  EXPECT_EQ(AttachTooltip(instance, dialog.get(), 9999, L"no such control", 0), nullptr);
  EXPECT_EQ(AttachTooltip(instance, dialog.get(), 2301, nullptr, 0), nullptr);

  HWND tip = AttachTooltip(instance, dialog.get(), 2301,
                           L"QxUpdate自身のバージョンアップを確認してアップデートを行います", 0);
  ASSERT_NE(tip, nullptr);
  wchar_t name[64];
  GetClassNameW(tip, name, 64);
  EXPECT_STREQ(name, TOOLTIPS_CLASSW);
  // A pop-up's owner is the top-level window; the tool itself is the button.
  EXPECT_EQ(GetWindow(tip, GW_OWNER), dialog.get());
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  ASSERT_TRUE(SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
  EXPECT_EQ(tool.hwnd, button);
  EXPECT_EQ(tool.uFlags & (TTF_SUBCLASS | TTF_TRANSPARENT), static_cast<UINT>(TTF_SUBCLASS | TTF_TRANSPARENT));
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 360);
  RECT margin{};
  SendMessageW(tip, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
  EXPECT_EQ(margin.left, 2);
  EXPECT_EQ(margin.bottom, 2);
  const LONG style = GetWindowLongW(tip, GWL_STYLE);
  EXPECT_EQ(style & (TTS_ALWAYSTIP | TTS_NOPREFIX), TTS_ALWAYSTIP | TTS_NOPREFIX);
  EXPECT_FALSE(style & TTS_BALLOON);

  HWND balloon = AttachTooltip(instance, dialog.get(), 0, L"list", 1);
  ASSERT_NE(balloon, nullptr);
  EXPECT_TRUE(GetWindowLongW(balloon, GWL_STYLE) & TTS_BALLOON);
  EXPECT_EQ(GetWindow(balloon, GW_OWNER), dialog.get());
}

}  // namespace
}  // namespace qxu
