#include "mail_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <vector>

namespace rosterkit {
namespace {

std::string SummaryOf(const std::vector<std::string>& lines, bool alwaysRead = false,
                      const std::string& name = "1.txt") {
  MailSummary summary(alwaysRead);
  for (const auto& line : lines) {
    if (!summary.Feed(line)) break;
  }
  return summary.Line(name);
}

TEST(MailSummary, UnreadMarkComesFromTheFirstLineOnly) {
  EXPECT_EQ(SummaryOf({"UnSealed: TRUE\n", "Subject: a\n"}), "  1.txt / a / ");
  EXPECT_EQ(SummaryOf({"Subject: a\n", "UnSealed: TRUE\n"}), "* 1.txt / a / ");
  EXPECT_EQ(SummaryOf({"Subject: a\n"}, true), "  1.txt / a / ");
  EXPECT_EQ(SummaryOf({"UnSealed: TRUE\n"}, true), "  1.txt /  / ");
  // Case and length of the key matter.
  EXPECT_EQ(SummaryOf({"Unsealed: TRUE\n"}), "* 1.txt /  / ");
}

TEST(MailSummary, SeparatorFirstOrEmptyFileHasNoMark) {
  EXPECT_EQ(SummaryOf({"--------\n", "Subject: body\n"}), "1.txt /  / ");
  EXPECT_EQ(SummaryOf({}), "1.txt /  / ");
}

TEST(MailSummary, LaterHeaderWinsAndBodyIsNeverRead) {
  MailSummary summary(false);
  EXPECT_TRUE(summary.Feed("Subject: first\n"));
  EXPECT_TRUE(summary.Feed("From: alice\n"));
  EXPECT_TRUE(summary.Feed("Subject: second\n"));
  EXPECT_FALSE(summary.Feed("-------- body follows\n"));
  EXPECT_EQ(summary.Line("7.txt"), "* 7.txt / second / alice");
}

TEST(MailSummary, KeysNeedTheirSpaceAndExactCase) {
  EXPECT_EQ(SummaryOf({"Subject:x\n", "from: bob\n", "From:bob\n", "To: carol\n"}), "* 1.txt /  / ");
  EXPECT_EQ(SummaryOf({"Subject: \n", "From: \n"}), "* 1.txt /  / ");
  EXPECT_EQ(SummaryOf({"X: 1\n", "-------\n", "Subject: seven hyphens are no separator\n"}),
            "* 1.txt / seven hyphens are no separator / ");
}

TEST(MailSummary, ValueKeepsItsLastByteWhenThereIsNoLineEnd) {
  EXPECT_EQ(SummaryOf({"Subject: Hello"}), "* 1.txt / Hello / ");
}

TEST(MailSummary, SummaryIsCutAt999BytesWithoutSplittingACharacter) {
  const std::string longSubject(2000, 'a');
  std::string line = SummaryOf({"Subject: " + longSubject + "\n"});
  EXPECT_EQ(line.size(), kSummaryLimit);
  // "* 1.txt / " is 10 bytes; 988 'a' then a two-byte character straddling byte 999.
  std::string subject = std::string(988, 'a') + "\x82\xa0" + "tail";
  line = SummaryOf({"Subject: " + subject + "\n"});
  EXPECT_EQ(line.size(), 998u);
  EXPECT_EQ(line.back(), 'a');
}

TEST(CutToBytes, TrailingBytesThatLookLikeLeadBytesAreNotMistaken) {
  // 0x81 0x81 is one character; cutting at 3 must keep "\x81\x81" + "a".
  std::string text = "\x81\x81" "ab";
  CutToBytes(text, 3, IsShiftJisLeadByte);
  EXPECT_EQ(text, "\x81\x81" "a");
  text = "a\x81\x81";
  CutToBytes(text, 2, IsShiftJisLeadByte);
  EXPECT_EQ(text, "a");
  text = "short";
  CutToBytes(text, 999, IsShiftJisLeadByte);
  EXPECT_EQ(text, "short");
}

TEST(MessageNames, TxtAnywhereCaseSensitive) {
  EXPECT_TRUE(IsMessageFileName("12.txt"));
  EXPECT_TRUE(IsMessageFileName("a.txt.bak"));
  EXPECT_FALSE(IsMessageFileName("1.TXT"));
  EXPECT_FALSE(IsMessageFileName("txt"));
}

TEST(MessageNames, LeadingNumber) {
  EXPECT_EQ(LeadingMessageNumber("3.txt"), 3);
  EXPECT_EQ(LeadingMessageNumber("12.txt"), 12);
  EXPECT_EQ(LeadingMessageNumber("x.txt"), 0);
  EXPECT_EQ(LeadingMessageNumber("007.txt"), 7);
  EXPECT_EQ(LeadingMessageNumber("12a.txt"), 12);
  EXPECT_EQ(LeadingMessageNumber("-5.txt"), -5);
  EXPECT_EQ(LeadingMessageNumber(" \t+42.txt"), 42);
  EXPECT_EQ(LeadingMessageNumber("- 5.txt"), 0);
  EXPECT_EQ(LeadingMessageNumber(""), 0);
}

TEST(MessageNames, NumbersBeyondThe32BitRangeSaturate) {
  EXPECT_EQ(LeadingMessageNumber("2147483647.txt"), INT_MAX);
  EXPECT_EQ(LeadingMessageNumber("2147483648.txt"), INT_MAX);
  EXPECT_EQ(LeadingMessageNumber("99999999999999999999999.txt"), INT_MAX);
  EXPECT_EQ(LeadingMessageNumber("-2147483648.txt"), INT_MIN);
  EXPECT_EQ(LeadingMessageNumber("-99999999999999999999.txt"), INT_MIN);
}

class MailLineReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = std::filesystem::temp_directory_path() /
            ("rosterkit_reader_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".txt");
  }
  void TearDown() override { std::filesystem::remove(path_); }
  void Write(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  std::vector<std::string> ReadAll() {
    MailLineReader reader(path_.string().c_str());
    EXPECT_TRUE(reader.IsOpen());
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) lines.emplace_back(line);
    return lines;
  }
  std::filesystem::path path_;
};

TEST_F(MailLineReaderTest, LongLinesArriveInPiecesOf1999Bytes) {
  Write(std::string(5000, 'x') + "\nnext\n");
  const auto lines = ReadAll();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].size(), 1999u);
  EXPECT_EQ(lines[1].size(), 1999u);
  EXPECT_EQ(lines[2], std::string(1002, 'x') + "\n");
  EXPECT_EQ(lines[3], "next\n");
}

TEST_F(MailLineReaderTest, LastLineWithoutEndAndMissingFile) {
  Write("a\nb");
  EXPECT_EQ(ReadAll(), (std::vector<std::string>{"a\n", "b"}));
  MailLineReader missing((path_.string() + ".none").c_str());
  EXPECT_FALSE(missing.IsOpen());
  std::string_view line;
  EXPECT_FALSE(missing.Next(line));
}

}  // namespace
}  // namespace rosterkit
