#include "message_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "print_layout.h"
#include "recording_sink.h"

using ::testing::ElementsAre;

namespace {

bool ShiftJisLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

class MessageReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ::testing::TempDir() + "inkplate_reader_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
  }
  void TearDown() override { std::remove(path_.c_str()); }

  void Write(const std::string& bytes) {
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
  }

  std::vector<std::string> Pieces(inkplate::LeadByteTest lead = nullptr) {
    inkplate::MessageReader reader(lead);
    EXPECT_TRUE(reader.Open(path_.c_str()));
    std::vector<std::string> pieces;
    std::string_view piece;
    while (reader.NextPiece(piece)) pieces.emplace_back(piece);
    return pieces;
  }

  std::string path_;
};

TEST_F(MessageReaderTest, MissingFileDoesNotOpen) {
  inkplate::MessageReader reader;
  EXPECT_FALSE(reader.Open(path_.c_str()));
  std::string_view piece;
  EXPECT_FALSE(reader.NextPiece(piece));
  EXPECT_FALSE(reader.Open(nullptr));
}

TEST_F(MessageReaderTest, LinesKeepTheirEndsAndTheLastMayLackOne) {
  Write("Subject: a\n\nbody\nend");
  EXPECT_THAT(Pieces(), ElementsAre("Subject: a\n", "\n", "body\n", "end"));
}

TEST_F(MessageReaderTest, LongLinesComeInPiecesOfAtMost1999Bytes) {
  const std::string fits(1998, 'a');
  const std::string exact(1999, 'b');
  const std::string longer(4000, 'c');
  Write(fits + "\n" + exact + "\n" + longer + "\n");
  EXPECT_THAT(Pieces(), ElementsAre(fits + "\n", exact, "\n", std::string(1999, 'c'),
                                    std::string(1999, 'c'), "cc\n"));
}

TEST_F(MessageReaderTest, TwoByteCharacterIsNotSplitBetweenPieces) {
  const std::string head(1998, 'x');
  const std::string kana = "\x82\xa0";  // one Shift-JIS character
  Write(head + kana + "tail\n");
  EXPECT_THAT(Pieces(ShiftJisLead), ElementsAre(head, kana + "tail\n"));
  // Without a code page every byte stands alone and the cut falls at 1999.
  EXPECT_THAT(Pieces(), ElementsAre(head + "\x82", "\xa0tail\n"));
}

TEST_F(MessageReaderTest, CutAfterAWholeTwoByteCharacterStays) {
  // 0x9F is a trail byte here although it could also lead.
  std::string line(1997, 'x');
  line += "\x88\x9f";
  Write(line + "y\n");
  EXPECT_THAT(Pieces(ShiftJisLead), ElementsAre(line, "y\n"));
}

TEST(LoneLeadByte, WalksCharactersFromTheStart) {
  EXPECT_FALSE(inkplate::EndsWithLoneLeadByte("\x88\x9f", ShiftJisLead));
  EXPECT_TRUE(inkplate::EndsWithLoneLeadByte("\x88\x9f\x88", ShiftJisLead));
  EXPECT_TRUE(inkplate::EndsWithLoneLeadByte("ab\x82", ShiftJisLead));
  EXPECT_FALSE(inkplate::EndsWithLoneLeadByte("ab\x82", nullptr));
  EXPECT_FALSE(inkplate::EndsWithLoneLeadByte("", ShiftJisLead));
}

TEST_F(MessageReaderTest, WholeFileThroughTheLayout) {
  Write("UnSealed: TRUE\nFrom: a\nSubject: b\n--------\nHi\n" + std::string(2100, 'z') + "\n");
  inkplate::MessageReader reader;
  ASSERT_TRUE(reader.Open(path_.c_str()));
  RecordingSink sink;
  inkplate::PrintLayout layout(sink, 10, 100000, false);
  inkplate::LayOutMessage(reader, layout);
  EXPECT_THAT(sink.Texts(), ElementsAre("From: a", "Subject: b", "--------", "Hi",
                                        std::string(1999, 'z'), std::string(101, 'z')));
}

}  // namespace
