#pragma once
// A static control that behaves as a web link: underlined, blue (red while
// the pointer is over its text), hand cursor, opened with the shell on click.
#include <windows.h>

namespace qxu {

class Hyperlink {
 public:
  Hyperlink() = default;
  ~Hyperlink() { Detach(); }
  Hyperlink(const Hyperlink&) = delete;
  Hyperlink& operator=(const Hyperlink&) = delete;

  // Replaces the control's window procedure with the link's. False when the
  // control is missing, is a link already, or this link is attached.
  bool Attach(HWND control);
  // Gives the control its previous window procedure back.
  void Detach();

  // What the link's window procedure keeps between messages.
  struct State {
    WNDPROC previous = nullptr;
    HWND control = nullptr;
    int hovered = 0;
    HCURSOR savedCursor = nullptr;
    bool cursorSaved = false;
    wchar_t text[1024] = {};
    int textWidth = 0;
  };

 private:
  State state_;
};

// Width in pixels of the control's link text at its last paint (0 before,
// or when the control is no link).
int HyperlinkTextWidth(HWND control);

}  // namespace qxu
