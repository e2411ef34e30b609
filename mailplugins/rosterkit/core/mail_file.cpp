#include "mail_file.h"

#include <cstring>

namespace rosterkit {

bool MailLineReader::Next(std::string_view& line) {
  if (!file_ || !std::fgets(buffer_, sizeof buffer_, file_)) return false;
  line = std::string_view(buffer_, std::strlen(buffer_));
  return true;
}

bool IsShiftJisLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

namespace {

// Text after a key, less the line end. A piece of an over-long line and a
// last line without line end keep all their bytes.
std::string ValueAfter(std::string_view line, std::string_view key) {
  std::string_view value = line.substr(key.size());
  if (!value.empty() && value.back() == '\n') value.remove_suffix(1);
  return std::string(value);
}

}  // namespace

bool MailSummary::Feed(std::string_view line) {
  if (StartsWith(line, kSeparator)) return false;
  if (first_) {
    first_ = false;
    mark_ = (alwaysRead_ || StartsWith(line, kUnsealedKey)) ? "  " : "* ";
  }
  if (StartsWith(line, kSubjectKey)) subject_ = ValueAfter(line, kSubjectKey);
  if (StartsWith(line, kFromKey)) sender_ = ValueAfter(line, kFromKey);
  return true;
}

std::string MailSummary::Line(std::string_view fileName, LeadBytePredicate isLead) const {
  std::string line;
  line.reserve(mark_.size() + fileName.size() + subject_.size() + sender_.size() + 6);
  line.append(mark_).append(fileName).append(" / ").append(subject_).append(" / ").append(sender_);
  CutToBytes(line, kSummaryLimit, isLead);
  return line;
}

void CutToBytes(std::string& text, std::size_t limit, LeadBytePredicate isLead) {
  if (text.size() <= limit) return;
  // Walk characters from the start: a trailing byte can look like a lead byte.
  std::size_t end = 0;
  while (end < limit) {
    std::size_t step = (isLead(static_cast<unsigned char>(text[end])) && end + 1 < text.size()) ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  text.resize(end);
}

bool IsMessageFileName(std::string_view name) { return name.find(".txt") != std::string_view::npos; }

std::int32_t LeadingMessageNumber(std::string_view name) {
  std::size_t i = 0;
  while (i < name.size() && (name[i] == ' ' || (name[i] >= '\t' && name[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < name.size() && (name[i] == '+' || name[i] == '-')) negative = name[i++] == '-';
  const std::int64_t limit = negative ? std::int64_t{INT32_MAX} + 1 : INT32_MAX;
  std::int64_t value = 0;
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
    value = value * 10 + (name[i] - '0');
    if (value > limit) value = limit;  // saturate, keep scanning the digits
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace rosterkit
