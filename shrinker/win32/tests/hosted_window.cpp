#include "hosted_window.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <stdexcept>

namespace vantilo::test {

HostedWindow::HostedWindow(const TempFolder& folder, std::vector<std::string> arguments) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!MainWindow::RegisterClasses(instance)) throw std::runtime_error("classes");
  AppOptions options;
  options.programPath = folder / "Vantilo.exe";
  options.settings.beside = folder / "Vantilo.ini";
  options.settings.perUser = folder / "user\\Vantilo.ini";
  options.arguments = std::move(arguments);
  options.quitOnDestroy = false;
  window_ = std::make_unique<MainWindow>(std::move(options));
  window_->Create(instance);
  Pump();
}

HostedWindow::~HostedWindow() {
  if (window_->Hwnd()) DestroyWindow(window_->Hwnd());
  Pump();
}

std::wstring HostedWindow::Text(int id) const {
  wchar_t buffer[512] = {};
  GetWindowTextW(Control(id), buffer, 512);
  return buffer;
}

std::string HostedWindow::AnsiText(int id) const {
  char buffer[1024] = {};
  GetWindowTextA(Control(id), buffer, sizeof buffer);
  return buffer;
}

bool HostedWindow::Checked(int id) const { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::wstring HostedWindow::Hint(HWND control) const {
  wchar_t buffer[512] = {};
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = Hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = buffer;
  SendMessageW(window_->Tooltips(), TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&ti));
  return buffer;
}

RECT HostedWindow::Place(int id) const {
  RECT rc;
  GetWindowRect(Control(id), &rc);
  MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

void HostedWindow::Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& p : paths) list += p + '\0';
  list += '\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
  auto* block = static_cast<DROPFILES*>(GlobalLock(memory));
  block->pFiles = sizeof(DROPFILES);
  block->fWide = FALSE;
  std::memcpy(reinterpret_cast<char*>(block) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

HDROP MakeWideDrop(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const std::wstring& p : paths) list += p + L'\0';
  list += L'\0';
  const std::size_t bytes = list.size() * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
  auto* block = static_cast<DROPFILES*>(GlobalLock(memory));
  block->pFiles = sizeof(DROPFILES);
  block->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(block) + sizeof(DROPFILES), list.data(), bytes);
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace vantilo::test
