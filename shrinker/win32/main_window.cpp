#include "main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "control_ids.h"
#include "file_system.h"
#include "int_text.h"
#include "layout.h"
#include "preview.h"
#include "shell_utils.h"
#include "settings_file.h"

namespace vantilo {

namespace {

constexpr int kClientWidth = 480;
constexpr int kClientHeight = 313;
const COLORREF kHatchColour = RGB(113, 179, 60);
const COLORREF kVersionColour = RGB(0, 128, 0);

std::wstring TrackHint(int position) { return L"鮮鋭化率:" + std::to_wstring(position) + L"%"; }

// The progress bar keeps its messages and range; only its look changes: the
// cross-hatch background brush behind the bar.
LRESULT CALLBACK HatchedProgressProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR brush) {
  if (msg == WM_ERASEBKGND) return 1;
  if (msg != WM_PAINT) return DefSubclassProc(hwnd, msg, wp, lp);
  PaintScope paint(hwnd);
  RECT rc;
  GetClientRect(hwnd, &rc);
  FillRect(paint.Dc(), &rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkColor(paint.Dc(), RGB(255, 255, 255));
  FillRect(paint.Dc(), &rc, reinterpret_cast<HBRUSH>(brush));
  const int lo = static_cast<int>(SendMessageW(hwnd, PBM_GETRANGE, TRUE, 0));
  const int hi = static_cast<int>(SendMessageW(hwnd, PBM_GETRANGE, FALSE, 0));
  const int pos = static_cast<int>(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
  if (hi > lo && pos > lo) {
    RECT bar = rc;
    bar.right = rc.left + static_cast<int>(static_cast<long long>(rc.right - rc.left) * (pos - lo) / (hi - lo));
    FillRect(paint.Dc(), &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
  DrawEdge(paint.Dc(), &rc, BDR_SUNKENOUTER, BF_RECT);
  return 0;
}

}  // namespace

MainWindow::MainWindow(AppOptions options) : options_(std::move(options)), driver_(*this) {}

MainWindow::~MainWindow() = default;

bool MainWindow::RegisterClasses(HINSTANCE instance) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = L"TForm1";
  if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  return Preview::Register(instance);
}

HWND MainWindow::Create(HINSTANCE instance) {
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
  // A tool window has no taskbar button of its own; the title goes there.
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_APPWINDOW;
  RECT rc{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&rc, style, FALSE, exStyle);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  HWND hwnd = CreateWindowExW(exStyle, L"TForm1", L"Vantilo", style, x, y, w, h, nullptr, nullptr, instance, this);
  if (!hwnd) return nullptr;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  FormShow();
  return hwnd;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_.Reset(hwnd);
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_.Release();
    self->tooltips_.Release();  // owned windows are already gone
    if (self->options_.quitOnDestroy) PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->Handle(msg, wp, lp);
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = hwnd_.Get();
  switch (msg) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_ERASEBKGND:
      Paint(reinterpret_cast<HDC>(wp));
      return 1;
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wp);
      if (reinterpret_cast<HWND>(lp) == Control(kLabel7)) {
        SetTextColor(dc, kVersionColour);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(whiteBrush_.Get());
    }
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && UsesHandCursor(GetDlgCtrlID(reinterpret_cast<HWND>(wp)))) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lp) == Control(kTrackBar1)) {
        const int pos = static_cast<int>(SendMessageW(Control(kTrackBar1), TBM_GETPOS, 0, 0));
        if (pos != trackPosition_) {
          trackPosition_ = pos;
          TrackBar1Change();
        }
      }
      return 0;
    case WM_DROPFILES:
      OnDrop(reinterpret_cast<HDROP>(wp));
      return 0;
    case WM_CLOSE:
      // A batch holds the picture: the close waits for its end.
      if (batchRunning_) {
        closePending_ = true;
        return 0;
      }
      FormClose();
      DestroyWindow(hwnd);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void MainWindow::Paint(HDC dc) {
  if (background_) {
    MemoryDc memory(CreateCompatibleDC(dc));
    SelectScope select(memory.Get(), background_.Get());
    BitBlt(dc, 0, 0, kClientWidth, kClientHeight, memory.Get(), 0, 0, SRCCOPY);
  } else {
    RECT all{0, 0, kClientWidth, kClientHeight};
    FillRect(dc, &all, whiteBrush_.Get() ? static_cast<HBRUSH>(whiteBrush_.Get())
                                         : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  RECT shape{264, 48, 264 + 201, 48 + 97};  // Shape1
  FillRect(dc, &shape, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  RECT bevel{264, 45, 264 + 201, 45 + 100};  // Bevel1
  DrawEdge(dc, &bevel, EDGE_ETCHED, BF_RECT);
}

void MainWindow::FormShow() {
  // The brush is the progress bar's background from here on.
  hatchBrush_.Reset(CreateHatchBrush(HS_DIAGCROSS, kHatchColour));
  SetWindowSubclass(Control(kProgressBar1), HatchedProgressProc, 1,
                    reinterpret_cast<DWORD_PTR>(hatchBrush_.Get()));
  InvalidateRect(Control(kProgressBar1), nullptr, TRUE);
  LoadSettings();
  DragAcceptFiles(hwnd_.Get(), TRUE);
  HandleCommandLine();
}

void MainWindow::FormClose() { SaveSettings(); }

void MainWindow::LoadSettings() { ApplySettings(vantilo::LoadSettings(options_.settings)); }

void MainWindow::SaveSettings() { vantilo::SaveSettings(options_.settings, CurrentSettings()); }

void MainWindow::HandleCommandLine() {
  const auto& args = options_.arguments;
  if (args.empty()) return;
  if (args[0] == "/sc" && !CreateDesktopShortcut("Vantilo", options_.programPath))
    MessageBoxW(hwnd_.Get(), L"デスクトップのショートカットを作成できませんでした。", L"Vantilo", MB_OK | MB_ICONERROR);
  commandLineRun_ = true;
  batchRunning_ = true;
  std::vector<std::string> paths;
  for (const std::string& arg : args) paths.push_back(AbsolutePath(arg));
  driver_.ProcessPaths(paths);
  batchRunning_ = false;
  EndWithoutSaving();
}

void MainWindow::EndWithoutSaving() {
  // Leaves without the close handling: a command-line run saves nothing.
  closePending_ = false;
  DestroyWindow(hwnd_.Get());
}

void MainWindow::OnDrop(HDROP drop) {
  if (batchRunning_) {
    // Files dropped while a batch runs are not taken: batches never interleave.
    DropHandle ignored(drop);
    return;
  }
  batchRunning_ = true;
  driver_.ProcessDroppedFiles(drop);
  batchRunning_ = false;
  if (closePending_) {
    closePending_ = false;
    SendMessageW(hwnd_.Get(), WM_CLOSE, 0, 0);
  }
}

void MainWindow::OnCommand(int id, int code) {
  if (code == BN_CLICKED) {
    if (id == kBitBtn1) {
      SendMessageW(hwnd_.Get(), WM_CLOSE, 0, 0);
    } else if (id == kBitBtn2) {
      OpenHelp(options_.programPath);
    } else if (id >= kRadioGroup1Item0 && id < kRadioGroup1Item0 + 8) {
      SelectSize(id - kRadioGroup1Item0);
    } else if (id == kRadioButton1 || id == kRadioButton2 || id == kRadioButton3 || id == kRadioButton4) {
      SelectRadio(id);
    }
  } else if (code == EN_CHANGE) {
    OnEditChange(id);
  }
}

void MainWindow::OnEditChange(int id) {
  const std::string text = TextOf(id);
  std::string normal;
  if (id == kEditPxX || id == kEditPxY) normal = NormalizeSideText(text);  // EditPxXChange, EditPxYChange
  else if (id == kEdit2) normal = NormalizeQualityText(text);              // Edit2Change
  else if (id == kEdit3) normal = NormalizeTargetSizeText(text);           // Edit3Change
  else return;
  if (normal != text) SetText(id, normal);
}

void MainWindow::TrackBar1Change() {
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.hwnd = hwnd_.Get();
  ti.uId = reinterpret_cast<UINT_PTR>(Control(kTrackBar1));
  const std::wstring hint = TrackHint(trackPosition_);
  ti.lpszText = const_cast<wchar_t*>(hint.c_str());
  SendMessageW(tooltips_.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void MainWindow::SetTrackPosition(int position) {
  SendMessageW(Control(kTrackBar1), TBM_SETPOS, TRUE, position);
  const int now = static_cast<int>(SendMessageW(Control(kTrackBar1), TBM_GETPOS, 0, 0));
  if (now != trackPosition_) {
    trackPosition_ = now;
    TrackBar1Change();
  }
}

int MainWindow::SizeIndex() const {
  for (int i = 0; i < 8; ++i)
    if (Checked(kRadioGroup1Item0 + i)) return i;
  return -1;
}

void MainWindow::SelectSize(int index) {
  for (int i = 0; i < 8; ++i) SetChecked(kRadioGroup1Item0 + i, i == index);
}

bool MainWindow::Checked(int id) const {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetChecked(int id, bool on) {
  SendMessageW(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindow::SelectRadio(int id) {
  // Two pairs that exclude each other: quality or size, affix or folder.
  const bool first = id == kRadioButton1 || id == kRadioButton2;
  const int a = first ? kRadioButton1 : kRadioButton3, b = first ? kRadioButton2 : kRadioButton4;
  SetChecked(a, id == a);
  SetChecked(b, id == b);
}

std::string MainWindow::TextOf(int id) const {
  HWND control = Control(id);
  const int n = GetWindowTextLengthA(control);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(control, &text[0], n + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return text;
}

void MainWindow::SetText(int id, const std::string& text) { SetWindowTextA(Control(id), text.c_str()); }

ShrinkSettings MainWindow::CurrentSettings() {
  ShrinkSettings s;
  s.sizeIndex = SizeIndex();
  s.customX = TextOf(kEditPxX);
  s.customY = TextOf(kEditPxY);
  s.sharpen = Checked(kCheckBox1);
  s.sharpenStrength = static_cast<int>(SendMessageW(Control(kTrackBar1), TBM_GETPOS, 0, 0));
  s.saturation = Checked(kCheckBox2);
  s.gray = Checked(kCheckBox3);
  s.progressive = Checked(kCheckBox4);
  s.page = Checked(kCheckHtml);
  s.qualityMode = Checked(kRadioButton1);
  s.quality = TextOf(kEdit2);
  s.targetSize = TextOf(kEdit3);
  s.folderNaming = Checked(kRadioButton4);
  s.affixPosition = static_cast<int>(SendMessageW(Control(kComboBox1), CB_GETCURSEL, 0, 0));
  s.affix = TextOf(kEdit4);
  s.folder = TextOf(kEdit5);
  s.rotate = rotate_;
  return s;
}

void MainWindow::ApplySettings(const ShrinkSettings& s) {
  SelectSize(ClampSizeIndex(s.sizeIndex));
  for (const auto& [id, text] : {std::pair<int, const std::string&>{kEditPxX, s.customX}, {kEditPxY, s.customY}}) {
    SetText(id, text);
    OnEditChange(id);
  }
  SetChecked(kCheckBox1, s.sharpen);
  SetTrackPosition(ClampSharpenStrength(s.sharpenStrength));
  SetChecked(kCheckBox2, s.saturation);
  SetChecked(kCheckBox3, s.gray);
  SetChecked(kCheckBox4, s.progressive);
  SetChecked(kCheckHtml, s.page);
  SelectRadio(kRadioButton2);
  if (s.qualityMode) SelectRadio(kRadioButton1);
  SetText(kEdit2, s.quality);
  OnEditChange(kEdit2);
  SetText(kEdit3, s.targetSize);
  OnEditChange(kEdit3);
  SelectRadio(kRadioButton3);
  if (s.folderNaming) SelectRadio(kRadioButton4);
  SendMessageW(Control(kComboBox1), CB_SETCURSEL, static_cast<WPARAM>(AffixPositionFrom(s.affixPosition)), 0);
  SetText(kEdit4, s.affix);
  SetText(kEdit5, s.folder);
  rotate_ = s.rotate;
}

void MainWindow::ShowPreview(const WorkPicture& picture) {
  HWND image = Control(kImage1);
  Preview::SetPicture(image, picture);
  SetWindowPos(image, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  UpdateWindow(image);
  HandlePendingEvents();
  if (previewObserver_) previewObserver_();
}

void MainWindow::HidePreview() { ShowWindow(Control(kImage1), SW_HIDE); }

void MainWindow::SetAffixText(const std::string& text) { SetText(kEdit4, text); }

void MainWindow::SetProgressRange(int maximum) {
  // A command-line batch leaves the progress bar alone.
  if (!commandLineRun_) SendMessageW(Control(kProgressBar1), PBM_SETRANGE32, 0, maximum);
}

void MainWindow::SetProgressPosition(int position) {
  if (!commandLineRun_) SendMessageW(Control(kProgressBar1), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void MainWindow::HandlePendingEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace vantilo
