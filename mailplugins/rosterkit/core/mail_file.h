// Layout of a stored mail file and the reading rules the host's files need.
// Portable: no Windows API.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace rosterkit {

// Keys are matched byte-wise and case-sensitively at the start of a line,
// over their full length including the space after the colon.
inline constexpr std::string_view kUnsealedKey = "UnSealed: TRUE";
inline constexpr std::string_view kSubjectKey = "Subject: ";
inline constexpr std::string_view kFromKey = "From: ";
inline constexpr std::string_view kToKey = "To: ";
inline constexpr std::string_view kSeparator = "--------";

// One read never yields more than this many bytes; a longer line arrives in pieces.
inline constexpr std::size_t kLinePieceLimit = 1999;
// Longest summary line and longest folder-plus-name path of a listed file.
inline constexpr std::size_t kSummaryLimit = 999;
inline constexpr std::size_t kMailPathLimit = 999;
// The platform's path limit for the tree walk (MAX_PATH less the terminator).
inline constexpr std::size_t kTreePathLimit = 259;

inline bool StartsWith(std::string_view line, std::string_view key) {
  return line.substr(0, key.size()) == key;
}

// Reads a mail file as text, line by line, each line keeping its line end.
class MailLineReader {
 public:
  explicit MailLineReader(const char* path) : file_(std::fopen(path, "r")) {}
  ~MailLineReader() {
    if (file_) std::fclose(file_);
  }
  MailLineReader(const MailLineReader&) = delete;
  MailLineReader& operator=(const MailLineReader&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // Next line or piece of a line of at most kLinePieceLimit bytes; false at the end.
  bool Next(std::string_view& line);

 private:
  std::FILE* file_;
  char buffer_[kLinePieceLimit + 1];
};

// Whether `c` starts a two-byte character in the mail's code page.
using LeadBytePredicate = bool (*)(unsigned char c);
// Shift-JIS (code page 932) lead bytes.
bool IsShiftJisLeadByte(unsigned char c);

// Collects the unread mark, subject and sender of one mail from its header lines.
class MailSummary {
 public:
  explicit MailSummary(bool alwaysRead) : alwaysRead_(alwaysRead) {}
  // Takes the next line as read; false once the separator is met and no
  // further line needs to be read.
  bool Feed(std::string_view line);
  // mark, name, " / ", subject, " / ", sender; at most kSummaryLimit bytes,
  // never ending inside a two-byte character.
  std::string Line(std::string_view fileName, LeadBytePredicate isLead = IsShiftJisLeadByte) const;

  const std::string& mark() const { return mark_; }
  const std::string& subject() const { return subject_; }
  const std::string& sender() const { return sender_; }

 private:
  bool alwaysRead_;
  bool first_ = true;
  std::string mark_, subject_, sender_;
};

// Shortens `text` to at most `limit` bytes without splitting a two-byte character.
void CutToBytes(std::string& text, std::size_t limit, LeadBytePredicate isLead);

// A name the tree operations act on: it contains ".txt" (case-sensitive).
bool IsMessageFileName(std::string_view name);

// Leading number of a file name: white space skipped, optional sign, decimal
// digits up to the first other character; no digits give 0. Values beyond the
// 32-bit signed range saturate at its ends.
std::int32_t LeadingMessageNumber(std::string_view name);

}  // namespace rosterkit
