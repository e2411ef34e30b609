// Reads a stored mail file the way the print job consumes it: text mode,
// one line at a time, a long line in pieces of at most kMaxPiece bytes.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string_view>

namespace inkplate {

constexpr std::size_t kMaxPiece = 1999;

// Tells whether a byte starts a two-byte character of the ANSI code page.
using LeadByteTest = bool (*)(unsigned char);

class MessageReader {
 public:
  // Without a lead-byte test every byte is a character of its own.
  explicit MessageReader(LeadByteTest isLeadByte = nullptr);
  ~MessageReader();
  MessageReader(const MessageReader&) = delete;
  MessageReader& operator=(const MessageReader&) = delete;

  bool Open(const char* path);
  bool IsOpen() const { return file_ != nullptr; }

  // The next piece, keeping its line end if it has one. The view stays valid
  // until the next call. False at the end of the file.
  bool NextPiece(std::string_view& piece);

 private:
  std::FILE* file_ = nullptr;
  LeadByteTest isLeadByte_;
  char buffer_[kMaxPiece + 1];
};

// True when the piece ends inside a two-byte character, i.e. its last byte is
// a lead byte that starts a character rather than finishing one.
bool EndsWithLoneLeadByte(std::string_view piece, LeadByteTest isLeadByte);

}  // namespace inkplate
