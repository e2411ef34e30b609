#include "print_document.h"

#include "message_reader.h"
#include "print_layout.h"

namespace inkplate {
namespace {

class GdiPageSink : public PageSink {
 public:
  explicit GdiPageSink(HDC dc) : dc_(dc) {}
  void DrawLine(int x, int y, std::string_view text) override {
    TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
  }
  void NextPage() override {
    EndPage(dc_);
    StartPage(dc_);
  }

 private:
  HDC dc_;
};

}  // namespace

bool PrintMessageDocument(HDC dc, MessageReader& reader, int pageHeight, bool printAll) {
  DOCINFOA document = {};
  document.cbSize = sizeof document;
  document.lpszDocName = "TEST PRINT";
  if (StartDocA(dc, &document) <= 0) return false;
  DrawMessagePages(dc, reader, pageHeight, printAll);
  return EndDoc(dc) > 0;
}

void DrawMessagePages(HDC dc, MessageReader& reader, int pageHeight, bool printAll) {
  StartPage(dc);
  // The device's own default font; a failed query leaves a height of 0.
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  GdiPageSink sink(dc);
  PrintLayout layout(sink, metrics.tmHeight, pageHeight, printAll);
  LayOutMessage(reader, layout);
  EndPage(dc);
}

}  // namespace inkplate
