// Which lines of a mail are printed, on which row and page. Drawing itself is
// left to a PageSink, so the layout runs the same on a printer and in tests.
#pragma once

#include <cstdint>
#include <string_view>

namespace inkplate {

class MessageReader;

// Keys are matched byte-wise and case-sensitively at the start of a line,
// including the one space after the colon.
constexpr std::string_view kSubjectKey = "Subject: ";
constexpr std::string_view kFromKey = "From: ";
constexpr std::string_view kToKey = "To: ";
constexpr std::string_view kSeparator = "--------";

constexpr int kLeftX = 100;

bool BeginsWith(std::string_view line, std::string_view key);

class PageSink {
 public:
  virtual ~PageSink() = default;
  // Text without its line end, at device position (x, y).
  virtual void DrawLine(int x, int y, std::string_view text) = 0;
  // Ends the current page and starts the next one.
  virtual void NextPage() = 0;
};

class PrintLayout {
 public:
  // printAll: every line of the file instead of the selected header lines,
  // the separator and the body.
  PrintLayout(PageSink& sink, std::int32_t lineHeight, std::int32_t pageHeight, bool printAll);

  // One piece as the reader returns it, line end included if present.
  void AddPiece(std::string_view piece);

 private:
  void Draw(std::string_view piece);
  void BreakPageIfFull();

  PageSink& sink_;
  std::int64_t lineHeight_;
  std::int64_t pageHeight_;
  bool printAll_;
  bool inBody_ = false;
  std::int64_t row_ = 1;
};

// Feeds every piece of the reader's file through the layout.
void LayOutMessage(MessageReader& reader, PrintLayout& layout);

}  // namespace inkplate
