#include <winsock2.h>

#include "ui/runwindows/tests/window_test_support.h"

#include <commctrl.h>

#include "engine/support/core/owned_string.h"
#include "engine/identity/win32/program_identity.h"
#include "ui/lang/resource_ids.h"
#include "ui/mainwindow/win32/main_window.h"
#include "ui/runwindows/win32/confirm_rows.h"

namespace qxu::test {

namespace {

// Loaded once for the process: the language library and the identity.
struct Loaded {
  HMODULE library = nullptr;
  ProgramIdentity* identity = nullptr;
};

const Loaded& LoadOnce() {
  static const Loaded loaded = [] {
    Loaded l;
    l.library = LoadLibraryW((ProgramFolder() + L"QxUpdate.Jpn.dll").c_str());
    if (!l.library) return l;
    l.identity = CreateIdentity();
    SetQxUpdateIdentity(l.identity);
    return l;
  }();
  return loaded;
}

const wchar_t* MainClassName(const ProgramIdentity* identity) {
  return identity && identity->seriesKey ? identity->seriesKey : kSeriesKey;
}

}  // namespace

Watcher::Watcher(std::wstring settingFile, qxtest::DialogWatcher::Reply otherDialogs)
    : settingFile_(std::move(settingFile)),
      other_(std::move(otherDialogs)),
      watcher_(
          qxtest::Scope::ThisProcess(),
          // A message box with one OK button answers IDOK to its close command.
          [this](const qxtest::SeenDialog& seen) {
            // The given reply first: a password dialog may look like a box.
            if (const int answer = other_ ? other_(seen) : 0) return answer;
            return seen.messageBox ? IDOK : 0;
          },
          GetCurrentThreadId(),
          [this](const qxtest::SeenDialog&) {
            std::lock_guard<std::mutex> hold(lock_);
            settingFileExisted_.push_back(qxtest::FileExists(settingFile_));
          }) {}

std::vector<SeenBox> Watcher::Boxes() const {
  const std::vector<qxtest::SeenDialog> seen = watcher_.Seen();
  std::lock_guard<std::mutex> hold(lock_);
  std::vector<SeenBox> boxes;
  for (size_t i = 0; i < seen.size(); ++i)
    if (seen[i].messageBox) boxes.push_back({seen[i].caption, seen[i].text, settingFileExisted_[i]});
  return boxes;
}

WindowsRun::WindowsRun(const std::wstring& iniName) {
  const Loaded& loaded = LoadOnce();
  if (!loaded.library) return;
  iniPath = folder / iniName;
  SetFileAttributesW(iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(iniPath.c_str());
  // The identity is the process's; the setting file is this run's.
  loaded.identity->settingFilePath = ReplaceString(loaded.identity->settingFilePath, iniPath.c_str());
  session.identity = loaded.identity;
  session.argumentCount = 1;
  session.startFolder = folder.path();
  session.programFolder = folder.path() + L"\\";
  session.programPath = folder / L"QxUpdate.exe";
  windows = std::make_unique<RunWindows>(session, loaded.library, &settings);
  session.windows = windows.get();
  windows->commandLine = L"-dl x";
  RunWindows* w = windows.get();
  windows->beginRun = [w] { w->OpenRunWindow(w->session.options.confirm, w->session.options.silent); };
}

WindowsRun::~WindowsRun() {
  if (windows) DestroyWindowsAtExit(*windows);
}

void WindowsRun::AddItem(const std::wstring& urlFolder, const std::wstring& name, const std::wstring& local) {
  DownloadItem item;
  item.urlFolder = urlFolder;
  item.fileName = name;
  item.localPath = local;
  session.items.push_back(item);
}

bool WindowsRun::RunMainWindow() {
  const bool made = CreateMainWindow(*windows) == 1;
  RunMessageLoop(*windows);
  UnregisterClassW(MainClassName(session.identity), windows->resources);
  return made;
}

HWND WindowsRun::List() const {
  HWND w = windows ? windows->runWindow.load() : nullptr;
  return w ? GetDlgItem(w, QXU_CONFIRM_LIST) : nullptr;
}

bool WindowsRun::CheckDone() const {
  HWND w = windows ? windows->runWindow.load() : nullptr;
  HWND button = w ? GetDlgItem(w, IDOK) : nullptr;
  wchar_t caption[64] = L"";
  if (!button || !IsWindowEnabled(button) || !GetWindowTextW(button, caption, 64) ||
      std::wstring(caption) != L"実行")
    return false;
  for (int i = 0; i < static_cast<int>(session.items.size()); ++i) {
    const RowState state = ListRowState(List(), i);
    if (state == RowState::None || state == RowState::Checking) return false;
  }
  return true;
}

std::wstring ListCell(HWND list, int row, int column) {
  wchar_t text[256] = L"";
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 25) {
    if (condition()) return true;
    Sleep(25);
  }
  return false;
}

std::wstring WindowsRun::IniValue(const wchar_t* key) const {
  return qxtest::ProfileValue(iniPath, L"QxUpdate", key);
}

HeldServer::HeldServer() : listener_(INVALID_SOCKET) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  listener_ = listener;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (listener == INVALID_SOCKET || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, 8) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return;
  port_ = ntohs(address.sin_port);
  thread_ = CreateThread(nullptr, 0, Accept, this, 0, nullptr);
}

HeldServer::~HeldServer() {
  Release();
  closesocket(static_cast<SOCKET>(listener_));
  if (thread_) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  WSACleanup();
}

std::wstring HeldServer::Folder() const { return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/held/"; }

void HeldServer::Serve(const std::string& body, const FILETIME& lastModified, std::size_t sentAtOnce) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  SYSTEMTIME t{};
  FileTimeToSystemTime(&lastModified, &t);
  char date[64];
  wsprintfA(date, "%s, %02u %s %04u %02u:%02u:%02u GMT", kDays[t.wDayOfWeek], t.wDay, kMonths[t.wMonth - 1], t.wYear,
            t.wHour, t.wMinute, t.wSecond);
  std::lock_guard<std::mutex> hold(lock_);
  head_ = "HTTP/1.0 200 OK\r\nContent-Type: application/octet-stream\r\nLast-Modified: " + std::string(date) +
          "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  body_ = body;
  sentAtOnce_ = sentAtOnce < body.size() ? sentAtOnce : body.size();
  serving_ = true;
}

std::vector<std::string> HeldServer::Requests() const {
  std::lock_guard<std::mutex> hold(lock_);
  return requests_;
}

void HeldServer::Release() {
  std::vector<std::uintptr_t> held;
  {
    std::lock_guard<std::mutex> hold(lock_);
    released_ = true;
    held.swap(held_);
  }
  for (std::uintptr_t s : held) Finish(s);
}

namespace {
void SendAll(SOCKET s, const std::string& bytes) {
  for (std::size_t at = 0; at < bytes.size();) {
    int sent = send(s, bytes.data() + at, static_cast<int>(bytes.size() - at), 0);
    if (sent <= 0) return;  // the client went away
    at += sent;
  }
}
}  // namespace

void HeldServer::Begin(std::uintptr_t socket) {
  std::string first;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (serving_) first = head_ + body_.substr(0, sentAtOnce_);
  }
  SendAll(static_cast<SOCKET>(socket), first);
}

void HeldServer::Finish(std::uintptr_t socket) {
  std::string rest = "HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (serving_) rest = body_.substr(sentAtOnce_);
  }
  SOCKET s = static_cast<SOCKET>(socket);
  SendAll(s, rest);
  shutdown(s, SD_BOTH);
  closesocket(s);
}

DWORD WINAPI HeldServer::Accept(LPVOID self) {
  HeldServer& h = *static_cast<HeldServer*>(self);
  for (;;) {
    SOCKET s = accept(static_cast<SOCKET>(h.listener_), nullptr, nullptr);
    if (s == INVALID_SOCKET) return 0;
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 8192) {
      int got = recv(s, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      request.append(buffer, got);
    }
    {
      std::lock_guard<std::mutex> hold(h.lock_);
      h.requests_.push_back(request.substr(0, request.find("\r\n")));
    }
    // The first part goes out before the request can be released.
    h.Begin(s);
    bool now;
    {
      std::lock_guard<std::mutex> hold(h.lock_);
      now = h.released_;
      if (!now) h.held_.push_back(s);
    }
    if (now) h.Finish(s);
  }
}

Observation Observe(RunWindows& w) {
  Observation o;
  HWND window = w.runWindow;
  wchar_t text[512] = L"";
  if (window) {
    GetDlgItemTextW(window, QXU_PROGRESS_STATUS, text, 512);
    o.bar = static_cast<int>(SendDlgItemMessageW(window, QXU_PROGRESS_BAR, PBM_GETPOS, 0, 0));
    o.bar2 = static_cast<int>(SendDlgItemMessageW(window, QXU_CONFIRM_PROGRESS, PBM_GETPOS, 0, 0));
    o.windowVisible = IsWindowVisible(window) != FALSE;
    GetWindowRect(window, &o.windowRect);
  }
  o.status = text;
  wchar_t tip[128];
  w.tray.Tip(tip, 128);
  o.tip = tip;
  o.trayAdded = w.tray.Added();
  o.taskbar = w.taskbar.Exists();
  return o;
}

RunObserver::RunObserver(RunWindows& w, DWORD trayMs)
    : w_(w), trayMs_(trayMs), partway_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = qxtest::KernelHandle(CreateThread(nullptr, 0, Run, this, 0, nullptr));
}

RunObserver::~RunObserver() { Wait(); }

void RunObserver::Wait() {
  if (thread_) WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI RunObserver::Run(LPVOID self) {
  RunObserver& o = *static_cast<RunObserver*>(self);
  for (int wait = 0; wait < 3000 && !o.w_.runWindow.load(); ++wait) Sleep(10);
  while (HWND window = o.w_.runWindow) {
    o.sawWindow = true;
    if (IsWindowVisible(window)) o.sawVisible = true;
    wchar_t text[256] = L"";
    GetDlgItemTextW(window, QXU_PROGRESS_STATUS, text, 256);
    const int bar = static_cast<int>(SendDlgItemMessageW(window, QXU_PROGRESS_BAR, PBM_GETPOS, 0, 0));
    o.samples.push_back({text, bar});
    if (!o.sawPartway && std::wstring(text) == L"ダウンロード中" && bar > 0 && bar < 1000) {
      o.sawPartway = true;
      o.seen = Observe(o.w_);
      o.seen.status = text;
      o.seen.bar = bar;
      for (DWORD t = 0; t < o.trayMs_; t += 100) {
        o.trayIcons.push_back(o.w_.tray.Icon());
        Sleep(100);
      }
      SetEvent(o.partway_.get());
    }
    Sleep(10);
  }
  return 0;
}

}  // namespace qxu::test

namespace qxu::test {

namespace {
struct Dib {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  unsigned* bits = nullptr;
  Dib(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    bits = static_cast<unsigned*>(p);
    if (bitmap) old = SelectObject(dc, bitmap);
  }
  ~Dib() {
    if (old) SelectObject(dc, old);
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
  }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
};
COLORREF FromDib(unsigned v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }
}  // namespace

Capture::Capture(HWND window) {
  RECT r;
  if (!GetClientRect(window, &r) || r.right <= 0 || r.bottom <= 0) return;
  Dib dib(r.right, r.bottom);
  if (!dib.bits) return;
  // Drawn by the window itself into the bitmap: other programs' windows on
  // the shared display cannot cover it.
  if (!PrintWindow(window, dib.dc, PW_CLIENTONLY)) return;
  GdiFlush();
  width_ = r.right;
  height_ = r.bottom;
  pixels_.assign(dib.bits, dib.bits + width_ * height_);
}

COLORREF Capture::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  return FromDib(pixels_[y * width_ + x]);
}

std::vector<COLORREF> IconOn(HICON icon, COLORREF background) {
  Dib dib(16, 16);
  std::vector<COLORREF> out;
  if (!dib.bits) return out;
  HBRUSH brush = CreateSolidBrush(background);
  RECT r{0, 0, 16, 16};
  FillRect(dib.dc, &r, brush);
  DeleteObject(brush);
  DrawIconEx(dib.dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
  GdiFlush();
  for (int i = 0; i < 256; ++i) out.push_back(FromDib(dib.bits[i]));
  return out;
}

std::vector<std::string> ProbeLines(const std::wstring& record, DWORD timeoutMs) {
  std::vector<std::string> lines;
  const DWORD start = GetTickCount();
  for (;;) {
    const std::string all = qxtest::ReadBytes(record);
    for (size_t at = 0, nl; (nl = all.find('\n', at)) != std::string::npos; at = nl + 1)
      lines.push_back(all.substr(at, nl - at));
    if (!lines.empty() || GetTickCount() - start > timeoutMs) return lines;
    Sleep(100);
  }
}

}  // namespace qxu::test
