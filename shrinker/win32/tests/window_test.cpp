// Form1 hosted in the test process: layout, settings, control events.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "control_ids.h"
#include "hosted_window.h"

namespace vantilo::test {
namespace {

struct Placed {
  int id, left, top, width, height;
  const wchar_t* caption;
};

TEST(Form1, ToolWindowOfFixedClientSizeWithTitle) {
  TempFolder dir;
  HostedWindow form(dir);
  RECT client;
  GetClientRect(form.Hwnd(), &client);
  EXPECT_EQ(client.right, 480);
  EXPECT_EQ(client.bottom, 313);
  const LONG style = GetWindowLongW(form.Hwnd(), GWL_STYLE), ex = GetWindowLongW(form.Hwnd(), GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(IsWindowVisible(form.Hwnd()));
  wchar_t title[64];
  GetWindowTextW(form.Hwnd(), title, 64);
  EXPECT_STREQ(title, L"Vantilo");
  char cls[64];
  GetClassNameA(form.Hwnd(), cls, 64);
  EXPECT_STREQ(cls, "TForm1");
}

TEST(Form1, ControlsAtTheirPositionsWithTheirCaptions) {
  TempFolder dir;
  HostedWindow form(dir);
  const Placed table[] = {
      {kBitBtn2, 328, 8, 65, 33, L"Help"},
      {kBitBtn1, 400, 8, 65, 33, L"Exit"},
      {kRadioGroup1, 16, 40, 241, 105, L"指定の範囲内にピクセルサイズを収める"},
      {kEditPxX, 152, 120, 41, 20, nullptr},
      {kEditPxY, 208, 120, 41, 20, nullptr},
      {kRadioButton3, 280, 56, 89, 17, L"ファイル名の"},
      {kEdit4, 304, 72, 73, 20, nullptr},
      {kRadioButton4, 280, 96, 177, 17, L"フォルダを作ってその中に保存"},
      {kEdit5, 368, 112, 89, 20, nullptr},
      {kGroupBox1, 16, 144, 241, 161, L"オプション"},
      {kCheckBox1, 32, 158, 193, 17, L"画像くっきり（鮮鋭化）"},
      {kTrackBar1, 160, 156, 94, 33, nullptr},
      {kCheckBox2, 32, 178, 129, 17, L"彩度を上げて保存"},
      {kCheckBox3, 32, 198, 121, 17, L"モノクロで保存する"},
      {kCheckBox4, 32, 218, 161, 17, L"プログレッシブで保存する"},
      {kCheckHtml, 32, 238, 97, 17, L"簡易HTML出力"},
      {kRadioButton1, 32, 256, 217, 17, L"JPEG量子化率を指定　　　　　(1-100%)"},
      {kEdit2, 168, 256, 33, 20, nullptr},
      {kRadioButton2, 32, 280, 201, 17, L"ファイルサイズを指定           KByte"},
      {kEdit3, 168, 280, 33, 20, nullptr},
      {kImage1, 264, 144, 200, 150, nullptr},
      {kProgressBar1, 264, 288, 201, 17, nullptr},
  };
  for (const Placed& p : table) {
    const RECT rc = form.Place(p.id);
    EXPECT_EQ(rc.left, p.left) << p.id;
    EXPECT_EQ(rc.top, p.top) << p.id;
    EXPECT_EQ(rc.right - rc.left, p.width) << p.id;
    EXPECT_EQ(rc.bottom - rc.top, p.height) << p.id;
    if (p.caption) {
      EXPECT_EQ(form.Text(p.id), p.caption) << p.id;
    }
  }
  // ComboBox1 keeps its left, top and width; its height is the system's.
  const RECT combo = form.Place(kComboBox1);
  EXPECT_EQ(combo.left, 368);
  EXPECT_EQ(combo.top, 52);
  EXPECT_EQ(combo.right - combo.left, 81);
  EXPECT_EQ(SendMessageW(form.Control(kComboBox1), CB_GETCOUNT, 0, 0), 2);
  // Labels sit at their corners.
  const Placed labels[] = {{kLabel7, 200, 24, 0, 0, L"version 1.50"}, {kLabel4, 280, 40, 0, 0, L"変換後・・・"},
                           {kLabel5, 384, 77, 0, 0, L"をつけて保存"},  {kLabel6, 304, 117, 0, 0, L"フォルダ名"},
                           {kLabel2, 312, 200, 0, 0, L"画像ファイルをここに"},
                           {kLabel3, 296, 232, 0, 0, L"ドラッグ＆ドロップしてください"}};
  for (const Placed& p : labels) {
    const RECT rc = form.Place(p.id);
    EXPECT_EQ(rc.left, p.left) << p.id;
    EXPECT_EQ(rc.top, p.top) << p.id;
    EXPECT_EQ(form.Text(p.id), p.caption) << p.id;
  }
  // Eight size items in two columns inside RadioGroup1, the last one's
  // caption under the two custom edits.
  const wchar_t* items[] = {L"1280 x 1280", L"1024 x 1024", L"800 x 800", L"640 x 640",
                            L"400 x 400",   L"320 x 320",   L"160 x 160", L"　　　　　x"};
  const RECT group = form.Place(kRadioGroup1);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(form.Text(kRadioGroup1Item0 + i), items[i]);
    const RECT rc = form.Place(kRadioGroup1Item0 + i);
    EXPECT_GE(rc.left, group.left);
    EXPECT_LE(rc.right, group.right);
    EXPECT_LE(rc.bottom, group.bottom);
    EXPECT_EQ(rc.left < 130, i < 4) << i;
  }
  const RECT last = form.Place(kRadioGroup1Item0 + 7);
  EXPECT_LT(last.top, 120 + 20);
  EXPECT_GT(last.bottom, 120);
  // The preview is hidden until a file is shown.
  EXPECT_FALSE(IsWindowVisible(form.Control(kImage1)));
}

TEST(Form1, TrackBarProgressBarAndHints) {
  TempFolder dir;
  HostedWindow form(dir);
  HWND track = form.Control(kTrackBar1);
  EXPECT_EQ(SendMessageW(track, TBM_GETRANGEMIN, 0, 0), 0);
  EXPECT_EQ(SendMessageW(track, TBM_GETRANGEMAX, 0, 0), 150);
  EXPECT_EQ(SendMessageW(track, TBM_GETPAGESIZE, 0, 0), 10);
  EXPECT_EQ(SendMessageW(track, TBM_GETNUMTICS, 0, 0), 16);  // 0, 10, ..., 150
  PBRANGE range{};
  SendMessageW(form.Control(kProgressBar1), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);
  EXPECT_EQ(form.Hint(form.Control(kBitBtn2)), L"ヘルプファイルを開きます。");
  EXPECT_EQ(form.Hint(form.Control(kBitBtn1)), L"終了します。");
  EXPECT_EQ(form.Hint(form.Control(kRadioGroup1)), L"画像を内接で収めます。");
  EXPECT_EQ(form.Hint(form.Control(kLabel5)), L"元画像と同じフォルダに保存されます。");
  EXPECT_EQ(form.Hint(form.Control(kRadioButton2)), L"保存するファイルのサイズを指定できます！量子化率は自動で決定されます。");
  EXPECT_EQ(form.Hint(form.Control(kImage1)), L"複数のJpeg/bmpファイルをドラッグ＆ドロップ出来ます。");
  EXPECT_EQ(form.Hint(track), L"鮮鋭化率:80%");  // the default 80 differs from the design's 50
}

TEST(Form1, HandCursorOverClickableControlsOnly) {
  TempFolder dir;
  HostedWindow form(dir);
  HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
  for (int id : std::initializer_list<int>{kBitBtn1, kBitBtn2, kCheckBox1, kCheckHtml, kRadioButton1, kRadioButton4, kComboBox1,
                 kRadioGroup1Item0 + 7}) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    EXPECT_TRUE(SendMessageW(form.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Control(id)),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)))
        << id;
    EXPECT_EQ(GetCursor(), hand) << id;
  }
  for (int id : {kEdit2, kTrackBar1, kLabel4})
    EXPECT_FALSE(SendMessageW(form.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Control(id)),
                              MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)))
        << id;
}

TEST(Form1, FirstRunShowsTheDefaults) {
  TempFolder dir;
  HostedWindow form(dir);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(form.Checked(kRadioGroup1Item0 + i), i == 0) << i;
  EXPECT_EQ(form.Text(kEditPxX), L"150");
  EXPECT_EQ(form.Text(kEditPxY), L"150");
  EXPECT_TRUE(form.Checked(kCheckBox1));
  EXPECT_EQ(SendMessageW(form.Control(kTrackBar1), TBM_GETPOS, 0, 0), 80);
  for (int id : {kCheckBox2, kCheckBox3, kCheckBox4, kCheckHtml}) EXPECT_FALSE(form.Checked(id)) << id;
  EXPECT_TRUE(form.Checked(kRadioButton1));
  EXPECT_FALSE(form.Checked(kRadioButton2));
  EXPECT_EQ(form.Text(kEdit2), L"92");
  EXPECT_EQ(form.Text(kEdit3), L"50");
  EXPECT_TRUE(form.Checked(kRadioButton4));
  EXPECT_FALSE(form.Checked(kRadioButton3));
  EXPECT_EQ(form.Text(kEdit5), L"Resized");
  EXPECT_EQ(form.Text(kEdit4), L"s-");
  EXPECT_EQ(SendMessageW(form.Control(kComboBox1), CB_GETCURSEL, 0, 0), 0);
  EXPECT_FALSE(FileExists(dir / "Vantilo.ini"));  // reading creates nothing
}

TEST(Form1, LoadedValuesAreClampedOrReplaced) {
  TempFolder dir;
  WriteIni(dir / "Vantilo.ini", "pixel", {{"Index", "9"}, {"x", "abc"}, {"y", "-40"}});
  WriteIni(dir / "Vantilo.ini", "option", {{"lapnum", "500"}, {"parcent", "abc"}, {"FileSize", "0"}, {"jpeg", "0"}});
  WriteIni(dir / "Vantilo.ini", "changed", {{"AfterBefore", "2"}, {"save", "x"}, {"AddName", ""}});
  {
    HostedWindow form(dir);
    EXPECT_TRUE(form.Checked(kRadioGroup1Item0 + 7));
    EXPECT_EQ(form.Text(kEditPxX), L"300");
    EXPECT_EQ(form.Text(kEditPxY), L"-40");
    EXPECT_EQ(SendMessageW(form.Control(kTrackBar1), TBM_GETPOS, 0, 0), 150);
    EXPECT_EQ(form.Hint(form.Control(kTrackBar1)), L"鮮鋭化率:150%");
    EXPECT_EQ(form.Text(kEdit2), L"90");
    EXPECT_EQ(form.Text(kEdit3), L"1");
    EXPECT_TRUE(form.Checked(kRadioButton2));
    EXPECT_FALSE(form.Checked(kRadioButton1));
    EXPECT_TRUE(form.Checked(kRadioButton4));  // "x" is no integer: default on
    EXPECT_EQ(SendMessageW(form.Control(kComboBox1), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(form.Text(kEdit4), L"");
  }
  WriteIni(dir / "Vantilo.ini", "pixel", {{"Index", "-5"}});
  WriteIni(dir / "Vantilo.ini", "option", {{"lapnum", "50"}, {"parcent", "250"}, {"FileSize", "0x10"}});
  {
    HostedWindow form(dir);
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(form.Checked(kRadioGroup1Item0 + i)) << i;
    EXPECT_EQ(form.Hint(form.Control(kTrackBar1)), L"");  // position never changed from 50
    EXPECT_EQ(form.Text(kEdit2), L"100");
    EXPECT_EQ(form.Text(kEdit3), L"50");  // the edit takes decimal only
  }
}

TEST(Form1, EditsAndTrackBarEvents) {
  TempFolder dir;
  HostedWindow form(dir);
  SetWindowTextW(form.Control(kEditPxX), L"");
  EXPECT_EQ(form.Text(kEditPxX), L"300");
  SetWindowTextW(form.Control(kEditPxY), L"0042");
  EXPECT_EQ(form.Text(kEditPxY), L"42");
  SetWindowTextW(form.Control(kEditPxY), L"-7");
  EXPECT_EQ(form.Text(kEditPxY), L"-7");
  SetWindowTextW(form.Control(kEdit2), L"q");
  EXPECT_EQ(form.Text(kEdit2), L"90");
  SetWindowTextW(form.Control(kEdit2), L"0");
  EXPECT_EQ(form.Text(kEdit2), L"1");
  SetWindowTextW(form.Control(kEdit3), L"");
  EXPECT_EQ(form.Text(kEdit3), L"50");
  SetWindowTextW(form.Control(kEdit3), L"99999999");
  EXPECT_EQ(form.Text(kEdit3), L"2097151");
  SetWindowTextW(form.Control(kEdit4), L"");
  EXPECT_EQ(form.Text(kEdit4), L"");  // the affix is left alone until it is used

  HWND track = form.Control(kTrackBar1);
  SendMessageW(track, TBM_SETPOS, TRUE, 120);
  SendMessageW(form.Hwnd(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 120), reinterpret_cast<LPARAM>(track));
  EXPECT_EQ(form.Hint(track), L"鮮鋭化率:120%");

  // Radio pairs exclude each other; size items too.
  SendMessageW(form.Control(kRadioButton2), BM_CLICK, 0, 0);
  EXPECT_TRUE(form.Checked(kRadioButton2));
  EXPECT_FALSE(form.Checked(kRadioButton1));
  SendMessageW(form.Control(kRadioButton3), BM_CLICK, 0, 0);
  EXPECT_FALSE(form.Checked(kRadioButton4));
  SendMessageW(form.Control(kRadioGroup1Item0 + 5), BM_CLICK, 0, 0);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(form.Checked(kRadioGroup1Item0 + i), i == 5) << i;
}

TEST(Form1, CloseSavesSeventeenKeysInThreeSections) {
  TempFolder dir;
  const std::string ini = dir / "Vantilo.ini";
  {
    HostedWindow form(dir);
    SendMessageW(form.Control(kRadioGroup1Item0 + 6), BM_CLICK, 0, 0);
    SendMessageW(form.Control(kCheckBox3), BM_CLICK, 0, 0);
    SendMessageW(form.Control(kComboBox1), CB_SETCURSEL, 1, 0);
    SetWindowTextW(form.Control(kEdit5), L"縮小");
    SendMessageW(form.Control(kBitBtn1), BM_CLICK, 0, 0);  // "Exit"
    EXPECT_FALSE(IsWindow(form.Hwnd()));
  }
  char sections[256] = {};
  const DWORD n = GetPrivateProfileSectionNamesA(sections, sizeof sections, ini.c_str());
  std::vector<std::string> names;
  for (const char* p = sections; p < sections + n && *p; p += strlen(p) + 1) names.push_back(p);
  EXPECT_EQ(names, (std::vector<std::string>{"pixel", "option", "changed"}));
  const std::pair<const char*, std::vector<const char*>> keys[] = {
      {"pixel", {"Index", "x", "y"}},
      {"option", {"lap", "lapnum", "chroma", "mono", "progressive", "html", "jpeg", "parcent", "FileSize", "rotate"}},
      {"changed", {"save", "AfterBefore", "AddName", "folder"}}};
  for (const auto& [section, list] : keys) {
    char body[4096] = {};
    const DWORD len = GetPrivateProfileSectionA(section, body, sizeof body, ini.c_str());
    std::vector<std::string> found;
    for (const char* p = body; p < body + len && *p; p += strlen(p) + 1) found.push_back(std::string(p).substr(0, std::string(p).find('=')));
    EXPECT_EQ(found, std::vector<std::string>(list.begin(), list.end())) << section;
  }
  EXPECT_EQ(IniValue(ini, "pixel", "Index"), "6");
  EXPECT_EQ(IniValue(ini, "pixel", "x"), "150");
  EXPECT_EQ(IniValue(ini, "option", "mono"), "1");
  EXPECT_EQ(IniValue(ini, "option", "lap"), "1");
  EXPECT_EQ(IniValue(ini, "option", "lapnum"), "80");
  EXPECT_EQ(IniValue(ini, "option", "parcent"), "92");
  EXPECT_EQ(IniValue(ini, "changed", "AfterBefore"), "1");
  EXPECT_EQ(IniValue(ini, "changed", "folder"), "\x8F\x6B\x8F\xAC");  // 縮小 in code page 932
  EXPECT_EQ(IniValue(ini, "changed", "save"), "1");
}

}  // namespace
}  // namespace vantilo::test
