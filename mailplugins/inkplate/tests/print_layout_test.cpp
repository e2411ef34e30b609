#include "print_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "recording_sink.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

RecordingSink Lay(std::initializer_list<const char*> pieces, int lineHeight, int pageHeight,
                  bool printAll) {
  RecordingSink sink;
  inkplate::PrintLayout layout(sink, lineHeight, pageHeight, printAll);
  for (const char* piece : pieces) layout.AddPiece(piece);
  return sink;
}

std::string Numbered(int i) { return "line " + std::to_string(i) + "\n"; }

TEST(PrintLayoutHeader, SelectedKeysInFileOrderThenSeparatorAndBody) {
  RecordingSink sink = Lay({"UnSealed: TRUE\n", "To: bob@example.com\n", "X-Mailer: any\n",
                            "Subject: hello\n", "Date: today\n", "From: alice@example.com\n",
                            "--------\n", "body one\n", "body two\n"},
                           40, 100000, false);
  ASSERT_THAT(sink.pages, SizeIs(1));
  EXPECT_THAT(sink.pages[0], ElementsAre(DrawnLine{100, 80, "To: bob@example.com"},
                                         DrawnLine{100, 120, "Subject: hello"},
                                         DrawnLine{100, 160, "From: alice@example.com"},
                                         DrawnLine{100, 200, "--------"},
                                         DrawnLine{100, 240, "body one"},
                                         DrawnLine{100, 280, "body two"}));
}

TEST(PrintLayoutHeader, KeysMatchExactlyIncludingTheSpace) {
  RecordingSink sink = Lay({"Subject:no space\n", "From:\n", "to: lower\n", "SUBJECT: upper\n",
                            " Subject: indented\n", "Subject: \n", "To: x\n", "-------\n",
                            "body?\n"},
                           10, 100000, false);
  // Seven hyphens are no separator, so nothing after them is body either.
  EXPECT_THAT(sink.Texts(), ElementsAre("Subject: ", "To: x"));
}

TEST(PrintLayoutHeader, WithoutSeparatorOnlyTheThreeKeysPrint) {
  RecordingSink sink = Lay({"Subject: s\n", "plain text\n", "From: f\n", "more text\n", "To: t\n",
                            "Subject: again\n"},
                           10, 100000, false);
  EXPECT_THAT(sink.Texts(), ElementsAre("Subject: s", "From: f", "To: t", "Subject: again"));
}

TEST(PrintLayoutHeader, BodyLinesPrintWhateverTheyBeginWith) {
  RecordingSink sink = Lay({"Subject: s\n", "-------- original message\n", "X-Other: 1\n",
                            "Subject: quoted\n", "--------\n"},
                           10, 100000, false);
  EXPECT_THAT(sink.Texts(), ElementsAre("Subject: s", "-------- original message", "X-Other: 1",
                                        "Subject: quoted", "--------"));
}

TEST(PrintLayoutHeader, HeaderLinesNeverBreakThePage) {
  // Page room for two rows only; the three header lines still share page one
  // and the first check comes with the separator.
  RecordingSink sink =
      Lay({"Subject: s\n", "From: f\n", "To: t\n", "--------\n", "body\n"}, 100, 250, false);
  ASSERT_THAT(sink.pages, SizeIs(3));
  EXPECT_THAT(sink.pages[0], ElementsAre(DrawnLine{100, 200, "Subject: s"},
                                         DrawnLine{100, 300, "From: f"},
                                         DrawnLine{100, 400, "To: t"},
                                         DrawnLine{100, 500, "--------"}));
  EXPECT_THAT(sink.pages[1], ElementsAre(DrawnLine{100, 200, "body"}));
  EXPECT_THAT(sink.pages[2], IsEmpty());
}

TEST(PrintLayoutAll, EveryLinePrintsUnchanged) {
  RecordingSink sink = Lay({"UnSealed: TRUE\n", "X-Mailer: any\n", "Subject: s\n", "\n",
                            "--------\n", "body\n"},
                           10, 100000, true);
  EXPECT_THAT(sink.Texts(),
              ElementsAre("UnSealed: TRUE", "X-Mailer: any", "Subject: s", "", "--------", "body"));
}

TEST(PrintLayoutAll, HeaderLinesAreCheckedForPageBreaks) {
  RecordingSink sink = Lay({"Subject: s\n", "From: f\n", "To: t\n"}, 100, 250, true);
  ASSERT_THAT(sink.pages, SizeIs(4));
  EXPECT_THAT(sink.pages[0], ElementsAre(DrawnLine{100, 200, "Subject: s"}));
  EXPECT_THAT(sink.pages[1], ElementsAre(DrawnLine{100, 200, "From: f"}));
  EXPECT_THAT(sink.pages[2], ElementsAre(DrawnLine{100, 200, "To: t"}));
}

TEST(PrintLayoutLineEnd, OnlyALineFeedIsRemoved) {
  RecordingSink sink = Lay({"a\n", "last without end", "\n", "x"}, 10, 100000, true);
  EXPECT_THAT(sink.Texts(), ElementsAre("a", "last without end", "", "x"));
}

TEST(PrintLayoutPages, HeightThousandHoldsRowsTwoToTen) {
  RecordingSink sink;
  inkplate::PrintLayout layout(sink, 100, 1000, false);
  layout.AddPiece("--------\n");
  for (int i = 1; i <= 19; ++i) layout.AddPiece(Numbered(i));
  // 20 lines: 9 + 9 + 2.
  ASSERT_THAT(sink.pages, SizeIs(3));
  for (int p = 0; p < 2; ++p) {
    ASSERT_THAT(sink.pages[p], SizeIs(9));
    for (int r = 0; r < 9; ++r) EXPECT_EQ(sink.pages[p][r].y, 200 + 100 * r);
  }
  EXPECT_EQ(sink.pages[0].back().text, "line 8");
  EXPECT_EQ(sink.pages[1].front(), (DrawnLine{100, 200, "line 9"}));
  EXPECT_THAT(sink.pages[2], ElementsAre(DrawnLine{100, 200, "line 18"},
                                         DrawnLine{100, 300, "line 19"}));
}

TEST(PrintLayoutPages, LastLineThatFillsThePageLeavesAnEmptyPage) {
  RecordingSink sink;
  inkplate::PrintLayout layout(sink, 100, 1000, true);
  for (int i = 1; i <= 9; ++i) layout.AddPiece(Numbered(i));
  ASSERT_THAT(sink.pages, SizeIs(2));
  EXPECT_THAT(sink.pages[0], SizeIs(9));
  EXPECT_THAT(sink.pages[1], IsEmpty());
}

TEST(PrintLayoutPages, BreakComesWhenTheNextRowWouldPassTheHeight) {
  // 1099 still takes row 10 (y = 1000) but not row 11 (y = 1100).
  RecordingSink sink = Lay({"1\n", "2\n", "3\n", "4\n", "5\n", "6\n", "7\n", "8\n", "9\n", "10\n",
                            "11\n"},
                           100, 1099, true);
  ASSERT_THAT(sink.pages, SizeIs(2));
  EXPECT_THAT(sink.pages[0], SizeIs(9));
  // 1100 makes room for row 11.
  RecordingSink roomier = Lay({"1\n", "2\n", "3\n", "4\n", "5\n", "6\n", "7\n", "8\n", "9\n",
                               "10\n", "11\n"},
                              100, 1100, true);
  ASSERT_THAT(roomier.pages, SizeIs(2));
  EXPECT_THAT(roomier.pages[0], SizeIs(10));
  EXPECT_EQ(roomier.pages[0].back().y, 1100);
}

TEST(PrintLayoutPages, ExtremeMetricsStayInRange) {
  RecordingSink tall = Lay({"a\n", "b\n"}, 2000000000, 2147483647, true);
  ASSERT_THAT(tall.pages, SizeIs(3));
  EXPECT_EQ(tall.pages[0][0].y, 2147483647);  // 2 x 2e9 is past the int range
  RecordingSink flat = Lay({"a\n", "b\n", "c\n"}, 0, 0, true);
  ASSERT_THAT(flat.pages, SizeIs(1));
  EXPECT_EQ(flat.pages[0][2].y, 0);
}

}  // namespace
