#include "int_text.h"

namespace vantilo {

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::optional<std::int32_t> ParseInt32(const std::string& text, IntSyntax syntax) {
  if (syntax == IntSyntax::DecimalOrHex) {
    std::size_t digits = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) digits = 2;
    else if (text.size() > 1 && text[0] == '$') digits = 1;
    if (digits != 0) {
      if (text.size() - digits > 8) return std::nullopt;
      std::uint32_t v = 0;
      for (std::size_t i = digits; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0) return std::nullopt;
        v = v * 16 + static_cast<std::uint32_t>(d);
      }
      return static_cast<std::int32_t>(v);  // $FFFFFFFF reads as -1
    }
  }
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    v = v * 10 + (text[i] - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

namespace {
std::string Clamped(const std::string& text, std::int32_t fallback, std::int32_t lo, std::int32_t hi) {
  std::int32_t v = ParseInt32(text, IntSyntax::Decimal).value_or(fallback);
  if (v < lo) v = lo;
  if (v > hi) v = hi;
  return std::to_string(v);
}
}  // namespace

std::string NormalizeSideText(const std::string& text) {
  return Clamped(text, 300, INT32_MIN, INT32_MAX);
}

std::string NormalizeQualityText(const std::string& text) {
  return Clamped(text, 90, 1, 100);
}

std::string NormalizeTargetSizeText(const std::string& text) {
  return Clamped(text, 50, 1, kMaxTargetKByte);
}

}  // namespace vantilo
