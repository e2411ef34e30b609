#include "message_reader.h"

#include <cstring>

namespace inkplate {

MessageReader::MessageReader(LeadByteTest isLeadByte) : isLeadByte_(isLeadByte) {}

MessageReader::~MessageReader() {
  if (file_) std::fclose(file_);
}

bool MessageReader::Open(const char* path) {
  if (file_ || !path) return false;
  // Text mode: on Windows a CR LF pair reads as one line feed.
  file_ = std::fopen(path, "r");
  return file_ != nullptr;
}

bool MessageReader::NextPiece(std::string_view& piece) {
  if (!file_ || !std::fgets(buffer_, sizeof buffer_, file_)) return false;
  std::size_t length = std::strlen(buffer_);
  // A full piece cut in the middle of a two-byte character would print half a
  // character at the end of one row and a stray byte at the start of the next;
  // the lead byte goes back to start the following piece instead.
  if (length == kMaxPiece && buffer_[length - 1] != '\n' &&
      EndsWithLoneLeadByte(std::string_view(buffer_, length), isLeadByte_)) {
    std::ungetc(static_cast<unsigned char>(buffer_[length - 1]), file_);
    --length;
  }
  piece = std::string_view(buffer_, length);
  return true;
}

bool EndsWithLoneLeadByte(std::string_view piece, LeadByteTest isLeadByte) {
  if (!isLeadByte || piece.empty()) return false;
  // Trail bytes share values with lead bytes, so walk from the start.
  std::size_t i = 0;
  while (i < piece.size()) {
    if (isLeadByte(static_cast<unsigned char>(piece[i]))) {
      if (i + 1 == piece.size()) return true;
      i += 2;
    } else {
      i += 1;
    }
  }
  return false;
}

}  // namespace inkplate
