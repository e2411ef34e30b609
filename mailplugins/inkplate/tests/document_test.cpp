// The drawing routine of Inkplate.dll, built into this test, on a device
// context the test supplies: an enhanced metafile whose text records give
// every line's position and characters. A metafile takes no document, so the
// pages are drawn without one.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "message_reader.h"
#include "print_document.h"
#include "win32/files.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

struct TextRecord {
  int x;
  int y;
  std::wstring text;
  bool operator==(const TextRecord& o) const { return x == o.x && y == o.y && text == o.text; }
};

void PrintTo(const TextRecord& r, std::ostream* os) {
  *os << "(" << r.x << ", " << r.y << ") " << r.text.size() << " chars";
}

class Metafile {
 public:
  explicit Metafile(HENHMETAFILE metafile) : metafile_(metafile) {}
  ~Metafile() {
    if (metafile_) DeleteEnhMetaFile(metafile_);
  }
  Metafile(const Metafile&) = delete;
  Metafile& operator=(const Metafile&) = delete;
  HENHMETAFILE get() const { return metafile_; }

 private:
  HENHMETAFILE metafile_;
};

class Font {
 public:
  Font()
      : font_(CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                          "MS Gothic")) {}
  ~Font() {
    if (font_) DeleteObject(font_);
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  HFONT get() const { return font_; }

 private:
  HFONT font_;
};

std::wstring Wide(const std::string& ansi) {
  std::wstring wide(ansi.size(), L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0],
                                    static_cast<int>(wide.size()));
  wide.resize(n > 0 ? n : 0);
  return wide;
}

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param) {
  auto* texts = reinterpret_cast<std::vector<TextRecord>*>(param);
  const auto* bytes = reinterpret_cast<const char*>(record);
  if (record->iType == EMR_EXTTEXTOUTW || record->iType == EMR_EXTTEXTOUTA) {
    const auto* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    const EMRTEXT& text = out->emrtext;
    std::wstring chars;
    if (record->iType == EMR_EXTTEXTOUTW)
      chars.assign(reinterpret_cast<const wchar_t*>(bytes + text.offString), text.nChars);
    else
      chars = Wide(std::string(bytes + text.offString, text.nChars));
    texts->push_back({static_cast<int>(text.ptlReference.x), static_cast<int>(text.ptlReference.y),
                      chars});
  }
  return 1;
}

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override { path_ = folder_ / "mail.txt"; }

  // Mail text given as UTF-8, stored as the host does: ANSI code page, CR LF.
  void WriteMail(const std::wstring& lines) {
    std::ofstream out(path_, std::ios::binary);
    const int n = WideCharToMultiByte(CP_ACP, 0, lines.data(), static_cast<int>(lines.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string ansi(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, lines.data(), static_cast<int>(lines.size()), &ansi[0], n,
                        nullptr, nullptr);
    for (char c : ansi) {
      if (c == '\n') out << '\r';
      out << c;
    }
  }

  // Prints the mail on a fresh metafile and returns its text records.
  std::vector<TextRecord> Print(int pageRows, bool printAll, bool asDocument = false) {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(dc, nullptr);
    // Unlike a printer's, a metafile context starts without a realised font
    // under Wine; the routine uses whatever font the context holds.
    SelectObject(dc, font_.get());
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    lineHeight_ = metrics.tmHeight;
    inkplate::MessageReader reader([](unsigned char b) { return IsDBCSLeadByte(b) != FALSE; });
    EXPECT_TRUE(reader.Open(path_.c_str()));
    if (asDocument)
      documentPrinted_ = inkplate::PrintMessageDocument(dc, reader, pageRows * lineHeight_, printAll);
    else
      inkplate::DrawMessagePages(dc, reader, pageRows * lineHeight_, printAll);
    Metafile metafile(CloseEnhMetaFile(dc));
    std::vector<TextRecord> texts;
    EnumEnhMetaFile(nullptr, metafile.get(), CollectText, &texts, nullptr);
    return texts;
  }

  int Y(int row) const { return row * lineHeight_; }

  Font font_;
  qxtest::TempFolder folder_{L"inkplate"};
  std::string path_;
  int lineHeight_ = 0;
  bool documentPrinted_ = true;
};

TEST_F(DocumentTest, LinesAtLeftHundredAndRowTimesFontHeight) {
  WriteMail(L"UnSealed: TRUE\nTo: 田中 <tanaka@example.jp>\nX-Mailer: any\nSubject: 週報\n"
            L"From: sato@example.jp\n--------\n今週の報告です。\n二行目\n三行目\n");
  const std::vector<TextRecord> texts = Print(5, false);
  ASSERT_GT(lineHeight_, 0);
  // Rows 2 to 5 fit a page of five rows; the separator at row 5 ends page one.
  EXPECT_THAT(texts, ElementsAre(TextRecord{100, Y(2), L"To: 田中 <tanaka@example.jp>"},
                                 TextRecord{100, Y(3), L"Subject: 週報"},
                                 TextRecord{100, Y(4), L"From: sato@example.jp"},
                                 TextRecord{100, Y(5), L"--------"},
                                 TextRecord{100, Y(2), L"今週の報告です。"},
                                 TextRecord{100, Y(3), L"二行目"},
                                 TextRecord{100, Y(4), L"三行目"}));
}

TEST_F(DocumentTest, LongJapaneseLineSplitsBetweenCharacters) {
  // 1000 two-byte characters: the 1999-byte cut would fall inside the last.
  const std::wstring line(1000, L'あ');
  WriteMail(line + L"\n");
  const std::vector<TextRecord> texts = Print(100, true);
  ASSERT_GT(lineHeight_, 0);
  ASSERT_THAT(texts, SizeIs(2));
  EXPECT_EQ(texts[0].text, std::wstring(999, L'あ'));
  EXPECT_EQ(texts[1], (TextRecord{100, Y(3), L"あ"}));
}

TEST_F(DocumentTest, LineWiderThanThePageIsLeftToTheDeviceToClip) {
  // Far wider than any page at this font; drawn whole on one row, never
  // wrapped onto the next, so rows and page breaks stay those of the file.
  const std::wstring wide(1500, L'W');
  WriteMail(wide + L"\nnext\n");
  const std::vector<TextRecord> texts = Print(100, true);
  ASSERT_GT(lineHeight_, 0);
  EXPECT_THAT(texts, ElementsAre(TextRecord{100, Y(2), wide}, TextRecord{100, Y(3), L"next"}));
}

TEST_F(DocumentTest, ContextThatTakesNoDocumentGetsNothingDrawn) {
  WriteMail(L"Subject: s\n--------\nbody\n");
  const std::vector<TextRecord> texts = Print(100, false, true);
  EXPECT_FALSE(documentPrinted_);
  EXPECT_THAT(texts, IsEmpty());
}

}  // namespace
