#include "print_layout.h"

#include <limits>

#include "message_reader.h"

namespace inkplate {

bool BeginsWith(std::string_view line, std::string_view key) {
  return line.size() >= key.size() && line.compare(0, key.size(), key) == 0;
}

PrintLayout::PrintLayout(PageSink& sink, std::int32_t lineHeight, std::int32_t pageHeight,
                         bool printAll)
    : sink_(sink), lineHeight_(lineHeight), pageHeight_(pageHeight), printAll_(printAll) {}

void PrintLayout::AddPiece(std::string_view piece) {
  if (printAll_ || inBody_) {
    Draw(piece);
    BreakPageIfFull();
    return;
  }
  if (BeginsWith(piece, kSeparator)) {
    // The separator opens the body and is its first printed line.
    inBody_ = true;
    Draw(piece);
    BreakPageIfFull();
    return;
  }
  // Header lines never end a page; the check resumes with the body.
  if (BeginsWith(piece, kSubjectKey) || BeginsWith(piece, kFromKey) || BeginsWith(piece, kToKey)) {
    Draw(piece);
  }
}

void PrintLayout::Draw(std::string_view piece) {
  ++row_;
  // Only a line feed is a line end; a piece cut from a long line, or the last
  // line of a file without one, keeps all its characters.
  if (!piece.empty() && piece.back() == '\n') piece.remove_suffix(1);
  // 64-bit rows cannot overflow; an absurd font height still yields a
  // position the device API can take.
  std::int64_t y = row_ * lineHeight_;
  if (y > std::numeric_limits<int>::max()) y = std::numeric_limits<int>::max();
  if (y < std::numeric_limits<int>::min()) y = std::numeric_limits<int>::min();
  sink_.DrawLine(kLeftX, static_cast<int>(y), piece);
}

void PrintLayout::BreakPageIfFull() {
  if (pageHeight_ < (row_ + 1) * lineHeight_) {
    sink_.NextPage();
    row_ = 1;
  }
}

void LayOutMessage(MessageReader& reader, PrintLayout& layout) {
  std::string_view piece;
  while (reader.NextPiece(piece)) layout.AddPiece(piece);
}

}  // namespace inkplate
