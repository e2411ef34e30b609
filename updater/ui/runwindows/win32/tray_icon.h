#pragma once
// The notification-area icon of the process: one record, added by the main
// window, changed by the animation thread, removed after the message loop.
#include <windows.h>
#include <shellapi.h>

#include "ui/runwindows/win32/thread_owner.h"

namespace qxu {

inline constexpr UINT kTrayIconId = 200;
inline constexpr UINT kTrayCallbackMessage = WM_USER + 27;

class TrayIcon {
 public:
  TrayIcon() = default;
  ~TrayIcon() { Remove(); }
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Fills the record (tip "<program>\r\n準備中") and adds the icon.
  bool Add(HWND owner, HICON icon, const wchar_t* programName);
  // New icon; with a text the tip becomes "<program>\r\n<text>".
  void Change(HICON icon, const wchar_t* programName, const wchar_t* text);
  void Remove();

  bool Added();
  HICON Icon();
  void Tip(wchar_t* out, size_t outChars);

 private:
  SlimLock lock_;
  NOTIFYICONDATAW data_{};
  bool added_ = false;
};

}  // namespace qxu
