#include "ui/runwindows/win32/tray_icon.h"

#include <cwchar>

#include "ui/runwindows/core/progress_math.h"

namespace qxu {

#if !defined(_WIN64)
static_assert(sizeof(NOTIFYICONDATAW) == 956, "the full record of Vista and later");
#endif

bool TrayIcon::Add(HWND owner, HICON icon, const wchar_t* programName) {
  LockHold hold(lock_);
  data_ = NOTIFYICONDATAW{};
  data_.cbSize = sizeof(data_);
  data_.hWnd = owner;
  data_.uID = kTrayIconId;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kTrayCallbackMessage;
  data_.hIcon = icon;
  FormatTrayTip(programName, L"準備中", data_.szTip, kTrayTipChars);
  added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  return added_;
}

void TrayIcon::Change(HICON icon, const wchar_t* programName, const wchar_t* text) {
  LockHold hold(lock_);
  if (!data_.hWnd) return;
  data_.hIcon = icon;
  if (text) FormatTrayTip(programName, text, data_.szTip, kTrayTipChars);
  Shell_NotifyIconW(NIM_MODIFY, &data_);
}

void TrayIcon::Remove() {
  LockHold hold(lock_);
  if (data_.hWnd) Shell_NotifyIconW(NIM_DELETE, &data_);
  data_.hWnd = nullptr;
  added_ = false;
}

bool TrayIcon::Added() {
  LockHold hold(lock_);
  return added_;
}

HICON TrayIcon::Icon() {
  LockHold hold(lock_);
  return data_.hIcon;
}

void TrayIcon::Tip(wchar_t* out, size_t outChars) {
  LockHold hold(lock_);
  if (outChars == 0) return;
  std::wcsncpy(out, data_.szTip, outChars - 1);
  out[outChars - 1] = L'\0';
}

}  // namespace qxu
