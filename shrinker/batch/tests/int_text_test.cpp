#include "int_text.h"

#include <gtest/gtest.h>

namespace vantilo {
namespace {

TEST(IntText, DecimalWithinThirtyTwoBits) {
  EXPECT_EQ(ParseInt32("-2147483648", IntSyntax::Decimal), INT32_MIN);
  EXPECT_EQ(ParseInt32("2147483647", IntSyntax::Decimal), INT32_MAX);
  EXPECT_EQ(ParseInt32("+7", IntSyntax::Decimal), 7);
  for (const char* bad : {"", "-", "2147483648", "-2147483649", "12a", " 5", "5 ", "0x10", "$10", "99999999999999999999"})
    EXPECT_FALSE(ParseInt32(bad, IntSyntax::Decimal).has_value()) << bad;
}

TEST(IntText, HexPrefixesInTheSettingsFile) {
  EXPECT_EQ(ParseInt32("0x1F", IntSyntax::DecimalOrHex), 31);
  EXPECT_EQ(ParseInt32("0X10", IntSyntax::DecimalOrHex), 16);
  EXPECT_EQ(ParseInt32("$96", IntSyntax::DecimalOrHex), 150);
  EXPECT_EQ(ParseInt32("$FFFFFFFF", IntSyntax::DecimalOrHex), -1);
  EXPECT_EQ(ParseInt32("-12", IntSyntax::DecimalOrHex), -12);
  for (const char* bad : {"0x", "$", "0xG", "$123456789", "0x-1"})
    EXPECT_FALSE(ParseInt32(bad, IntSyntax::DecimalOrHex).has_value()) << bad;
}

TEST(IntText, EditNormalisation) {
  EXPECT_EQ(NormalizeSideText(""), "300");
  EXPECT_EQ(NormalizeSideText("abc"), "300");
  EXPECT_EQ(NormalizeSideText("007"), "7");
  EXPECT_EQ(NormalizeSideText("-5"), "-5");
  EXPECT_EQ(NormalizeQualityText("abc"), "90");
  EXPECT_EQ(NormalizeQualityText("250"), "100");
  EXPECT_EQ(NormalizeQualityText("0"), "1");
  EXPECT_EQ(NormalizeQualityText("-3"), "1");
  EXPECT_EQ(NormalizeQualityText("092"), "92");
  EXPECT_EQ(NormalizeTargetSizeText("x"), "50");
  EXPECT_EQ(NormalizeTargetSizeText("0"), "1");
  EXPECT_EQ(NormalizeTargetSizeText("2097151"), "2097151");
  EXPECT_EQ(NormalizeTargetSizeText("2097152"), "2097151");
  EXPECT_EQ(NormalizeTargetSizeText("2147483647"), "2097151");
}

TEST(IntText, NormalisedTextsAreFixedPoints) {
  // The handlers rewrite the field only when the text changes, so a
  // normalised text must normalise to itself.
  for (const char* t : {"", "abc", "-0", "+12", "100000", "-99"}) {
    const std::string a = NormalizeSideText(t), b = NormalizeQualityText(t), c = NormalizeTargetSizeText(t);
    EXPECT_EQ(NormalizeSideText(a), a);
    EXPECT_EQ(NormalizeQualityText(b), b);
    EXPECT_EQ(NormalizeTargetSizeText(c), c);
  }
}

}  // namespace
}  // namespace vantilo
