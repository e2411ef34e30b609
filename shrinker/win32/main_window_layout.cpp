// The controls of Form1 at their design positions, with captions and hints.
#include <windows.h>
#include <commctrl.h>

#include "control_ids.h"
#include "layout.h"
#include "main_window.h"
#include "preview.h"

namespace vantilo {

namespace {
const wchar_t kSizeItems[8][16] = {L"1280 x 1280", L"1024 x 1024", L"800 x 800", L"640 x 640",
                                   L"400 x 400",   L"320 x 320",   L"160 x 160", L"　　　　　x"};
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr int kGroupBox1Left = 16, kGroupBox1Top = 144;

HFONT MakeFont(int pixels) {
  return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ Ｐゴシック");
}
}  // namespace

bool UsesHandCursor(int id) {
  return (id >= kRadioGroup1Item0 && id < kRadioGroup1Item0 + 8) || id == kBitBtn1 || id == kBitBtn2 ||
         id == kRadioButton1 || id == kRadioButton2 || id == kRadioButton3 || id == kRadioButton4 ||
         id == kComboBox1 || id == kCheckBox1 || id == kCheckBox2 || id == kCheckBox3 || id == kCheckBox4 ||
         id == kCheckHtml;
}

HWND MainWindow::AddControl(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                            int id, DWORD exStyle) {
  HWND c = CreateWindowExW(exStyle, cls, text, kChild | style, x, y, w, h, hwnd_.Get(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_.Get(), GWLP_HINSTANCE)), nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  return c;
}

HWND MainWindow::AddLabel(const wchar_t* text, int x, int y, int id, HFONT font) {
  // Labels size themselves to their text.
  SIZE size{};
  {
    WindowDc dc(hwnd_.Get());
    SelectScope select(dc.Dc(), font);
    GetTextExtentPoint32W(dc.Dc(), text, lstrlenW(text), &size);
  }
  HWND c = AddControl(L"STATIC", text, SS_LEFT | SS_NOTIFY, x, y, size.cx, size.cy, id);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return c;
}

void MainWindow::AddHint(HWND control, const wchar_t* text) {
  TOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V2_SIZE;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd_.Get();
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(tooltips_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void MainWindow::CreateControls() {
  font_.Reset(MakeFont(12));
  versionFont_.Reset(MakeFont(16));
  whiteBrush_.Reset(CreateSolidBrush(RGB(255, 255, 255)));
  background_.Reset(LoadImageW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_.Get(), GWLP_HINSTANCE)),
                               L"BACKGROUND", IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  SendMessageW(hwnd_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  tooltips_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_.Get(), nullptr,
                                  nullptr, nullptr));
  SendMessageW(tooltips_.Get(), TTM_SETMAXTIPWIDTH, 0, 480);

  const DWORD button = BS_PUSHBUTTON | WS_TABSTOP, check = BS_AUTOCHECKBOX | WS_TABSTOP,
              radio = BS_RADIOBUTTON | WS_TABSTOP, edit = ES_AUTOHSCROLL | WS_TABSTOP;
  AddHint(AddControl(L"BUTTON", L"Help", button, 328, 8, 65, 33, kBitBtn2), L"ヘルプファイルを開きます。");
  AddHint(AddControl(L"BUTTON", L"Exit", button, 400, 8, 65, 33, kBitBtn1), L"終了します。");
  AddLabel(L"version 1.50", 200, 24, kLabel7, static_cast<HFONT>(versionFont_.Get()));

  // RadioGroup1: two columns, filled column by column, below the caption.
  const wchar_t* sizeHint = L"画像を内接で収めます。";
  HWND group = AddControl(L"BUTTON", L"指定の範囲内にピクセルサイズを収める", BS_GROUPBOX, 16, 40, 241, 105, kRadioGroup1);
  AddHint(group, sizeHint);
  TEXTMETRICW tm{};
  {
    WindowDc dc(hwnd_.Get());
    SelectScope select(dc.Dc(), font_.Get());
    GetTextMetricsW(dc.Dc(), &tm);
  }
  const int perColumn = 4, itemWidth = (241 - 10) / 2, spare = 105 - tm.tmHeight - 5;
  const int itemHeight = spare / perColumn, topMargin = tm.tmHeight + 1 + (spare % perColumn) / 2;
  for (int i = 0; i < 8; ++i) {
    AddHint(AddControl(L"BUTTON", kSizeItems[i], radio, 16 + 8 + (i / perColumn) * itemWidth,
                       40 + topMargin + (i % perColumn) * itemHeight, itemWidth, itemHeight, kRadioGroup1Item0 + i),
            sizeHint);
  }
  AddControl(L"EDIT", L"300", edit, 152, 120, 41, 20, kEditPxX, WS_EX_CLIENTEDGE);
  AddControl(L"EDIT", L"300", edit, 208, 120, 41, 20, kEditPxY, WS_EX_CLIENTEDGE);

  // The naming frame.
  AddLabel(L"変換後・・・", 280, 40, kLabel4, static_cast<HFONT>(font_.Get()));
  const wchar_t* besideHint = L"元画像と同じフォルダに保存されます。";
  AddHint(AddControl(L"BUTTON", L"ファイル名の", radio, 280, 56, 89, 17, kRadioButton3), besideHint);
  HWND combo = AddControl(L"COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 368, 52, 81, 120,
                          kComboBox1);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"前に"));
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"後に"));
  AddControl(L"EDIT", L"s-", edit, 304, 72, 73, 20, kEdit4, WS_EX_CLIENTEDGE);
  AddHint(AddLabel(L"をつけて保存", 384, 77, kLabel5, static_cast<HFONT>(font_.Get())), besideHint);
  AddHint(AddControl(L"BUTTON", L"フォルダを作ってその中に保存", radio, 280, 96, 177, 17, kRadioButton4),
          L"元画像があるフォルダに自動生成されます。");
  AddLabel(L"フォルダ名", 304, 117, kLabel6, static_cast<HFONT>(font_.Get()));
  AddControl(L"EDIT", L"Resize", edit, 368, 112, 89, 20, kEdit5, WS_EX_CLIENTEDGE);

  // GroupBox1 and the options inside it.
  const int gx = kGroupBox1Left, gy = kGroupBox1Top;
  AddControl(L"BUTTON", L"オプション", BS_GROUPBOX, gx, gy, 241, 161, kGroupBox1);
  AddHint(AddControl(L"BUTTON", L"画像くっきり（鮮鋭化）", check, gx + 16, gy + 14, 193, 17, kCheckBox1),
          L"縮小画像が画像がぼやけちゃった時にどうぞ");
  HWND track = AddControl(TRACKBAR_CLASSW, nullptr, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP, gx + 144,
                          gy + 12, 94, 33, kTrackBar1);
  SendMessageW(track, TBM_SETRANGE, FALSE, MAKELPARAM(0, 150));
  SendMessageW(track, TBM_SETPAGESIZE, 0, 10);
  SendMessageW(track, TBM_SETTICFREQ, 10, 0);
  SendMessageW(track, TBM_SETPOS, TRUE, trackPosition_);
  AddHint(track, L"");
  AddHint(AddControl(L"BUTTON", L"彩度を上げて保存", check, gx + 16, gy + 34, 129, 17, kCheckBox2),
          L"画像を鮮やかにしたい場合にどうぞ。");
  AddHint(AddControl(L"BUTTON", L"モノクロで保存する", check, gx + 16, gy + 54, 121, 17, kCheckBox3),
          L"サムネイルのときなんかにどうぞ。");
  AddHint(AddControl(L"BUTTON", L"プログレッシブで保存する", check, gx + 16, gy + 74, 161, 17, kCheckBox4),
          L"Webで使用するときにどうぞ。");
  AddHint(AddControl(L"BUTTON", L"簡易HTML出力", check, gx + 16, gy + 94, 97, 17, kCheckHtml),
          L"サムネイルページ作成支援です。");
  AddHint(AddControl(L"BUTTON", L"JPEG量子化率を指定　　　　　(1-100%)", radio, gx + 16, gy + 112, 217, 17,
                     kRadioButton1),
          L"数値が大きいほど低圧縮高画質です");
  AddControl(L"EDIT", L"92", edit, gx + 152, gy + 112, 33, 20, kEdit2, WS_EX_CLIENTEDGE);
  AddHint(AddControl(L"BUTTON", L"ファイルサイズを指定           KByte", radio, gx + 16, gy + 136, 201, 17,
                     kRadioButton2),
          L"保存するファイルのサイズを指定できます！量子化率は自動で決定されます。");
  AddControl(L"EDIT", L"50", edit, gx + 152, gy + 136, 33, 20, kEdit3, WS_EX_CLIENTEDGE);

  // The drop area: the preview hides the two labels while a file is shown.
  HWND image = AddControl(L"VantiloPreview", nullptr, 0, 264, 144, 200, 150, kImage1);
  AddHint(image, L"複数のJpeg/bmpファイルをドラッグ＆ドロップ出来ます。");
  ShowWindow(image, SW_HIDE);
  AddLabel(L"画像ファイルをここに", 312, 200, kLabel2, static_cast<HFONT>(font_.Get()));
  AddLabel(L"ドラッグ＆ドロップしてください", 296, 232, kLabel3, static_cast<HFONT>(font_.Get()));
  HWND progress = AddControl(PROGRESS_CLASSW, nullptr, 0, 264, 288, 201, 17, kProgressBar1);
  SendMessageW(progress, PBM_SETRANGE32, 0, 100);

  // Fields that lie over a caption stay above it; group boxes stay below
  // their items.
  for (int id : {kEditPxX, kEditPxY, kEdit2, kEdit3, kTrackBar1, kComboBox1})
    SetWindowPos(Control(id), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (int id : {kRadioGroup1, kGroupBox1})
    SetWindowPos(Control(id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace vantilo
