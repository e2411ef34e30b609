#include "ui/about/win32/hyperlink.h"

#include <shellapi.h>
#include <windowsx.h>

#include "engine/support/win32/unique_handle.h"
#include "ui/about/core/link_area.h"

namespace qxu {
namespace {

constexpr int kLinkTextChars = 1024;

struct LinkState {
  WNDPROC previous = nullptr;
  HWND control = nullptr;
  int hovered = 0;
  HCURSOR savedCursor = nullptr;
  bool cursorSaved = false;
  wchar_t text[kLinkTextChars] = {};
  int textWidth = 0;
};
LinkState g_link;

// Selects a font into a device context for one scope.
class SelectedFont {
 public:
  SelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(font ? SelectObject(dc, font) : nullptr) {}
  ~SelectedFont() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

class Painting {
 public:
  explicit Painting(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~Painting() { EndPaint(window_, &paint_); }
  Painting(const Painting&) = delete;
  Painting& operator=(const Painting&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

void FetchText(HWND window) {
  g_link.text[0] = L'\0';
  GetWindowTextW(window, g_link.text, kLinkTextChars);
}

HFONT UnderlinedFont(HWND window) {
  HFONT current = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  if (!current || !GetObjectW(current, sizeof(description), &description)) {
    // The system font stands in for a control without a font of its own.
    if (!GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(description), &description)) return nullptr;
  }
  description.lfUnderline = TRUE;
  return CreateFontIndirectW(&description);
}

void Paint(HWND window) {
  Painting painting(window);
  HDC dc = painting.dc();
  if (!dc) return;
  const GdiObject<HFONT> font(UnderlinedFont(window));
  SelectedFont selected(dc, font.get());
  SetTextColor(dc, g_link.hovered ? RGB(255, 0, 0) : RGB(0, 0, 255));
  SetBkColor(dc, GetSysColor(COLOR_MENU));
  SetBkMode(dc, TRANSPARENT);
  if (!g_link.text[0]) FetchText(window);
  int length = lstrlenW(g_link.text);
  SIZE extent{};
  if (GetTextExtentPoint32W(dc, g_link.text, length, &extent)) g_link.textWidth = extent.cx;
  TextOutW(dc, 0, 0, g_link.text, length);
}

void MouseMove(HWND window, LPARAM lParam) {
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(window, &point);
  LinkBounds bounds{rect.left, rect.top, rect.right, rect.bottom};
  const int inside = InsideLinkArea(bounds, g_link.textWidth, point.x, point.y);
  if (!g_link.hovered && inside) {
    SetCapture(window);
    if (!g_link.cursorSaved) {
      g_link.savedCursor = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))  /* IDC_HAND */);
      g_link.cursorSaved = true;
    }
    g_link.hovered = 1;
    InvalidateRect(window, nullptr, FALSE);
  } else if (g_link.hovered && !inside) {
    if (g_link.cursorSaved) {
      SetCursor(g_link.savedCursor);
      g_link.savedCursor = nullptr;
      g_link.cursorSaved = false;
    }
    g_link.hovered = 0;
    InvalidateRect(window, nullptr, FALSE);
    ReleaseCapture();
  }
}

void Click(HWND window) {
  FetchText(window);
  if (g_link.text[0]) ShellExecuteW(nullptr, L"open", g_link.text, nullptr, nullptr, SW_SHOWNORMAL);
  g_link.hovered = 0;
  ReleaseCapture();
  InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(window, lParam);
      return 0;
    case WM_LBUTTONUP:
      Click(window);
      return 0;
    default:
      break;
  }
  return g_link.previous ? CallWindowProcW(g_link.previous, window, message, wParam, lParam)
                         : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool AttachHyperlink(HWND control) {
  if (!control || g_link.control) return false;
  g_link = LinkState{};
  // A plain static lets the pointer through to its parent; the link must see it.
  SetWindowLongW(control, GWL_STYLE, GetWindowLongW(control, GWL_STYLE) | SS_NOTIFY);
  g_link.previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LinkProc)));
  if (!g_link.previous) return false;
  g_link.control = control;
  return true;
}

void DetachHyperlink() {
  if (g_link.control && g_link.previous) {
    if (GetCapture() == g_link.control) ReleaseCapture();
    if (g_link.cursorSaved) SetCursor(g_link.savedCursor);
    SetWindowLongPtrW(g_link.control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_link.previous));
  }
  g_link = LinkState{};
}

int HyperlinkTextWidth() { return g_link.textWidth; }

}  // namespace qxu
