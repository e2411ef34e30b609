#include "window_test_support.h"

#include "engine/support/core/owned_string.h"
#include "ui/mainwindow/win32/main_window.h"

namespace qxu::test {

Watcher::Watcher()
    : watcher_(
          qxtest::Scope::ThisProcess(),
          // A message box with one OK button answers IDOK to its close command.
          [](const qxtest::SeenDialog& seen) { return seen.messageBox ? IDOK : 0; }, GetCurrentThreadId(),
          [this](const qxtest::SeenDialog&) {
            std::lock_guard<std::mutex> hold(lock_);
            settingFileExisted_.push_back(qxtest::FileExists(State().iniPath));
          }) {}

std::vector<SeenBox> Watcher::Boxes() const {
  const std::vector<qxtest::SeenDialog> seen = watcher_.Seen();
  std::lock_guard<std::mutex> hold(lock_);
  std::vector<SeenBox> boxes;
  for (size_t i = 0; i < seen.size(); ++i)
    if (seen[i].messageBox) boxes.push_back({seen[i].caption, seen[i].text, settingFileExisted_[i]});
  return boxes;
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
  s.iniPath = s.folder / iniName;
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
