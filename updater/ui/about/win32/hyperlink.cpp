#include "ui/about/win32/hyperlink.h"

#include <shellapi.h>
#include <windowsx.h>

#include "engine/support/win32/unique_handle.h"
#include "ui/about/core/link_area.h"

namespace qxu {
namespace {

using LinkState = Hyperlink::State;
constexpr int kLinkTextChars = sizeof(LinkState::text) / sizeof(wchar_t);
// The window property through which the link's procedure finds its state.
constexpr wchar_t kLinkProperty[] = L"QxUpdateHyperlink";

LinkState* LinkOf(HWND window) { return static_cast<LinkState*>(GetPropW(window, kLinkProperty)); }

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

void FetchText(LinkState& link, HWND window) {
  link.text[0] = L'\0';
  GetWindowTextW(window, link.text, kLinkTextChars);
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

void Paint(LinkState& link, HWND window) {
  Painting painting(window);
  HDC dc = painting.dc();
  if (!dc) return;
  const GdiObject<HFONT> font(UnderlinedFont(window));
  SelectedFont selected(dc, font.get());
  SetTextColor(dc, link.hovered ? RGB(255, 0, 0) : RGB(0, 0, 255));
  SetBkColor(dc, GetSysColor(COLOR_MENU));
  SetBkMode(dc, TRANSPARENT);
  if (!link.text[0]) FetchText(link, window);
  int length = lstrlenW(link.text);
  SIZE extent{};
  if (GetTextExtentPoint32W(dc, link.text, length, &extent)) link.textWidth = extent.cx;
  TextOutW(dc, 0, 0, link.text, length);
}

void MouseMove(LinkState& link, HWND window, LPARAM lParam) {
  RECT rect{};
  GetWindowRect(window, &rect);
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(window, &point);
  LinkBounds bounds{rect.left, rect.top, rect.right, rect.bottom};
  const int inside = InsideLinkArea(bounds, link.textWidth, point.x, point.y);
  if (!link.hovered && inside) {
    SetCapture(window);
    if (!link.cursorSaved) {
      link.savedCursor = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))  /* IDC_HAND */);
      link.cursorSaved = true;
    }
    link.hovered = 1;
    InvalidateRect(window, nullptr, FALSE);
  } else if (link.hovered && !inside) {
    if (link.cursorSaved) {
      SetCursor(link.savedCursor);
      link.savedCursor = nullptr;
      link.cursorSaved = false;
    }
    link.hovered = 0;
    InvalidateRect(window, nullptr, FALSE);
    ReleaseCapture();
  }
}

void Click(LinkState& link, HWND window) {
  FetchText(link, window);
  if (link.text[0]) ShellExecuteW(nullptr, L"open", link.text, nullptr, nullptr, SW_SHOWNORMAL);
  link.hovered = 0;
  ReleaseCapture();
  InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LinkState* link = LinkOf(window);
  if (!link) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      Paint(*link, window);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(*link, window, lParam);
      return 0;
    case WM_LBUTTONUP:
      Click(*link, window);
      return 0;
    default:
      break;
  }
  return link->previous ? CallWindowProcW(link->previous, window, message, wParam, lParam)
                        : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool Hyperlink::Attach(HWND control) {
  if (!control || state_.control || LinkOf(control)) return false;
  state_ = LinkState{};
  if (!SetPropW(control, kLinkProperty, &state_)) return false;
  // A plain static lets the pointer through to its parent; the link must see it.
  SetWindowLongW(control, GWL_STYLE, GetWindowLongW(control, GWL_STYLE) | SS_NOTIFY);
  state_.previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LinkProc)));
  if (!state_.previous) {
    RemovePropW(control, kLinkProperty);
    return false;
  }
  state_.control = control;
  return true;
}

void Hyperlink::Detach() {
  if (state_.control && state_.previous) {
    if (GetCapture() == state_.control) ReleaseCapture();
    if (state_.cursorSaved) SetCursor(state_.savedCursor);
    SetWindowLongPtrW(state_.control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state_.previous));
    RemovePropW(state_.control, kLinkProperty);
  }
  state_ = LinkState{};
}

int HyperlinkTextWidth(HWND control) {
  const LinkState* link = control ? LinkOf(control) : nullptr;
  return link ? link->textWidth : 0;
}

}  // namespace qxu
