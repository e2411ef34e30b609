#include "window_test_support.h"

#include <cwchar>

#include "engine/support/core/owned_string.h"
#include "ui/mainwindow/win32/main_window.h"

namespace qxu::test {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

std::wstring TempFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetTempPathW(MAX_PATH, path);
  return std::wstring(path, n);
}

std::string Narrow(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &s[0], n, nullptr, nullptr);
  return s;
}

namespace {
Watcher* g_watcher = nullptr;

bool IsMessageBox(HWND window) {
  wchar_t cls[64];
  return GetClassNameW(window, cls, 64) && std::wcscmp(cls, L"#32770") == 0 && GetDlgItem(window, 0xFFFF);
}
}  // namespace

Watcher::Watcher() {
  InitializeCriticalSection(&lock_);
  g_watcher = this;
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

LRESULT CALLBACK Watcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_watcher && IsMessageBox(reinterpret_cast<HWND>(wParam)))
    g_watcher->Record(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Watcher::Record(HWND box) {
  wchar_t caption[256] = L"", text[1024] = L"";
  GetWindowTextW(box, caption, 256);
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  // Gone meanwhile (another test's watcher may close boxes of any program).
  if (!IsWindow(box) || !text[0]) return;
  bool existed = GetFileAttributesW(State().iniPath.c_str()) != INVALID_FILE_ATTRIBUTES;
  EnterCriticalSection(&lock_);
  // Marked on the window itself, so that the hook and the poll record it once.
  if (!GetPropW(box, L"QxBoxSeen")) {
    SetPropW(box, L"QxBoxSeen", reinterpret_cast<HANDLE>(1));
    boxes_.push_back({caption, text, existed});
  }
  LeaveCriticalSection(&lock_);
}

Watcher::~Watcher() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_watcher = nullptr;
  stop_ = true;
  if (thread_) {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  DeleteCriticalSection(&lock_);
}

std::vector<SeenBox> Watcher::Boxes() {
  EnterCriticalSection(&lock_);
  std::vector<SeenBox> copy = boxes_;
  LeaveCriticalSection(&lock_);
  return copy;
}

DWORD WINAPI Watcher::Run(LPVOID self) {
  auto* w = static_cast<Watcher*>(self);
  while (!w->stop_) {
    w->Poll();
    Sleep(50);
  }
  return 0;
}

namespace {
struct FindBox {
  DWORD process;
  HWND found;
};
BOOL CALLBACK FindBoxProc(HWND window, LPARAM param) {
  auto* f = reinterpret_cast<FindBox*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == f->process && IsWindowVisible(window) && IsMessageBox(window)) {
    f->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

void Watcher::Poll() {
  FindBox f{GetCurrentProcessId(), nullptr};
  EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&f));
  if (!f.found) return;
  Record(f.found);  // boxes of other threads, which the hook does not see
  // A message box with one OK button answers IDOK to its close command.
  PostMessageW(f.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  Sleep(200);
}

std::string Describe(const std::vector<SeenBox>& boxes) {
  std::string out;
  for (const SeenBox& b : boxes) out += "[" + Narrow(b.caption) + ": " + Narrow(b.text) + "] ";
  return out;
}

WindowsFixtureState& State() {
  static WindowsFixtureState state;
  return state;
}

void SetString(wchar_t** field, const wchar_t* value) { *field = ReplaceString(*field, value); }

namespace {
int ItemCount() { return static_cast<int>(State().items.size()); }
const wchar_t* ItemFileName(int i) { return State().items[i].c_str(); }
void Begin() {
  if (State().begin) State().begin();
}
}  // namespace

bool PrepareWindows(const std::wstring& iniName) {
  WindowsFixtureState& s = State();
  RunShared& shared = Shared();
  if (!s.library) {
    s.library = LoadLibraryW((ProgramFolder() + L"QxUpdate.Jpn.dll").c_str());
    if (!s.library) return false;
    shared.icons.Load(s.library);
    s.identity = CreateIdentity();
    SetQxUpdateIdentity(s.identity);
  }
  s.iniPath = TempFolder() + iniName;
  SetFileAttributesW(s.iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(s.iniPath.c_str());
  SetString(&s.identity->settingFilePath, s.iniPath.c_str());
  s.settings = UpdaterSettings{};
  s.run.updatedCount = 0;
  s.run.allSucceeded = 0;
  s.run.keepGoing = 1;
  s.run.busy = 0;
  s.silent = 0;
  s.information = 1;
  s.confirm = 0;
  s.noRestart = 0;
  s.deleteSetting = 0;
  s.ownUpdate = 0;
  s.proxyUserUse = 0;
  for (wchar_t** f : {&s.proxyUser, &s.proxyScrambled, &s.restartProgram, &s.restartArguments,
                      &s.settingFile, &s.commandLine})
    SetString(f, nullptr);
  s.items.clear();
  s.begin = nullptr;

  shared.run = &s.run;
  shared.programName = s.identity->programName;
  WindowsBinding& b = Binding();
  b = WindowsBinding{};
  b.resources = s.library;
  b.identity = s.identity;
  b.settings = &s.settings;
  b.silent = &s.silent;
  b.information = &s.information;
  b.confirm = &s.confirm;
  b.noRestart = &s.noRestart;
  b.deleteSetting = &s.deleteSetting;
  b.ownUpdate = &s.ownUpdate;
  b.proxyUserUse = &s.proxyUserUse;
  b.proxyUser = &s.proxyUser;
  b.proxyPasswordScrambled = &s.proxyScrambled;
  b.restartProgram = &s.restartProgram;
  b.restartArguments = &s.restartArguments;
  b.settingFile = &s.settingFile;
  b.itemCount = ItemCount;
  b.itemFileName = ItemFileName;
  b.commandLine = &s.commandLine;
  b.beginRun = Begin;
  return true;
}

bool RunMainWindow() {
  bool made = CreateMainWindow() == 1;
  RunMessageLoop();
  UnregisterClassW(kSeriesKey, State().library);
  return made;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

std::wstring IniValue(const wchar_t* key) {
  // Parsed here rather than through the profile functions, whose cache in
  // this process keeps the keys as the section was written.
  HANDLE f = CreateFileW(State().iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return L"<no file>";
  char buffer[32768];
  DWORD got = 0;
  ReadFile(f, buffer, sizeof buffer, &got, nullptr);
  CloseHandle(f);
  std::wstring text;
  if (got >= 2 && static_cast<unsigned char>(buffer[0]) == 0xFF && static_cast<unsigned char>(buffer[1]) == 0xFE) {
    text.assign(reinterpret_cast<const wchar_t*>(buffer + 2), (got - 2) / 2);
  } else {
    int n = MultiByteToWideChar(CP_ACP, 0, buffer, static_cast<int>(got), nullptr, 0);
    text.resize(n > 0 ? n : 0);
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, buffer, static_cast<int>(got), &text[0], n);
  }
  auto trim = [](const std::wstring& v) {
    size_t a = v.find_first_not_of(L" \t\r"), b = v.find_last_not_of(L" \t\r");
    return a == std::wstring::npos ? std::wstring() : v.substr(a, b - a + 1);
  };
  size_t at = 0;
  while (at < text.size()) {
    size_t nl = text.find(L'\n', at);
    std::wstring line = text.substr(at, nl == std::wstring::npos ? std::wstring::npos : nl - at);
    at = nl == std::wstring::npos ? text.size() : nl + 1;
    size_t eq = line.find(L'=');
    if (eq != std::wstring::npos && trim(line.substr(0, eq)) == key) return trim(line.substr(eq + 1));
  }
  return L"<none>";
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
  DWORD start = GetTickCount();
  for (;;) {
    HANDLE f = CreateFileW(record.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      char buffer[8192];
      DWORD got = 0;
      ReadFile(f, buffer, sizeof buffer, &got, nullptr);
      CloseHandle(f);
      std::string all(buffer, got);
      size_t at = 0, nl;
      while ((nl = all.find('\n', at)) != std::string::npos) {
        lines.push_back(all.substr(at, nl - at));
        at = nl + 1;
      }
      if (!lines.empty()) return lines;
    }
    if (GetTickCount() - start > timeoutMs) return lines;
    Sleep(100);
  }
}

}  // namespace qxu::test
