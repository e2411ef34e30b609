// Integer texts of the window's edits and of the settings file.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace vantilo {

enum class IntSyntax {
  Decimal,       // optional sign and decimal digits
  DecimalOrHex,  // also "0x..", "0X.." or "$.." as up to 8 hex digits
};

// The value of text when all of it is one signed 32-bit integer.
std::optional<std::int32_t> ParseInt32(const std::string& text, IntSyntax syntax);

// Texts the change handlers of the edits put back into the field.
std::string NormalizeSideText(const std::string& text);        // EditPxX, EditPxY
std::string NormalizeQualityText(const std::string& text);     // Edit2: 1..100
std::string NormalizeTargetSizeText(const std::string& text);  // Edit3: 1..kMaxTargetKByte

// Above this many KByte the byte count of the size search no longer fits 32 bits.
constexpr std::int32_t kMaxTargetKByte = 2097151;

}  // namespace vantilo
