#include "ui/placement/win32/tooltip.h"

#include <commctrl.h>

namespace qxu {

HWND AttachTooltip(HINSTANCE instance, HWND window, int controlId, const wchar_t* text, int balloon) {
  if (!text) return nullptr;
  HWND target = controlId > 0 ? GetDlgItem(window, controlId) : window;
  if (!target) return nullptr;
  const DWORD style = WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | (balloon == 1 ? TTS_BALLOON : 0);
  HWND tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, target, nullptr, instance, nullptr);
  if (!tooltip) return nullptr;
  RECT margin{2, 2, 2, 2};
  SendMessageW(tooltip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
  SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);

  TOOLINFOW tool{};
  static_assert(sizeof(void*) != 4 || sizeof tool == 48, "tool record of 48 bytes");
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS | TTF_TRANSPARENT;
  tool.hwnd = target;
  tool.uId = 0;
  GetClientRect(target, &tool.rect);
  tool.hinst = instance;
  tool.lpszText = const_cast<wchar_t*>(text);
  if (!SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    // A tooltip without its tool would only linger until the parent goes.
    DestroyWindow(tooltip);
    return nullptr;
  }
  return tooltip;
}

}  // namespace qxu
