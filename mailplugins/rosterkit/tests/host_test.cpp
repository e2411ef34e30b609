// Drives Rosterkit.dll as a host mail program does: loaded by name, bound by
// its plain export names, filling a real list box in a real window.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "mail_tree.h"
#include "rosterkit.h"

namespace {

template <typename Proc>
Proc Bind(HMODULE library, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A fresh load per test: the library's counters start at zero on load.
    library_ = LoadLibraryW((qxtest::ProgramFolder() + L"Rosterkit.dll").c_str());
    ASSERT_NE(library_, nullptr);
    addListMail_ = Bind<AddListMailProc>(library_, "AddListMail");
    directoryFCount_ = Bind<DirectoryFCountProc>(library_, "DirectoryFCount");
    retMaxFName_ = Bind<RetMaxFNameProc>(library_, "RetMaxFName");
    sendFileToList_ = Bind<SendFileToListProc>(library_, "SendFileToList");
    ASSERT_TRUE(addListMail_ && directoryFCount_ && retMaxFName_ && sendFileToList_);
    window_ = CreateWindowA("STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    list_ = CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | LBS_NOTIFY, 0, 0, 380,
                          280, window_, nullptr, nullptr, nullptr);
    ASSERT_NE(list_, nullptr);
  }
  void TearDown() override {
    if (window_) DestroyWindow(window_);
    if (library_) FreeLibrary(library_);
  }

  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::string text(SendMessageA(list_, LB_GETTEXTLEN, i, 0), '\0');
      SendMessageA(list_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
      lines.push_back(text);
    }
    return lines;
  }
  int Extent() { return static_cast<int>(SendMessageA(list_, LB_GETHORIZONTALEXTENT, 0, 0)); }
  void Prefill() {
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("stale"));
    SendMessageA(list_, LB_SETHORIZONTALEXTENT, 1234, 0);
  }

  HMODULE library_ = nullptr;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  AddListMailProc addListMail_ = nullptr;
  DirectoryFCountProc directoryFCount_ = nullptr;
  RetMaxFNameProc retMaxFName_ = nullptr;
  SendFileToListProc sendFileToList_ = nullptr;
  MailTree tree_;
};

// Name of a summary line: after the two-byte mark (if any), up to " / ".
std::string NameOf(const std::string& line) {
  std::string rest = (line.rfind("  ", 0) == 0 || line.rfind("* ", 0) == 0) ? line.substr(2) : line;
  return rest.substr(0, rest.find(" / "));
}

TEST_F(HostTest, SummaryLinesMarksAndExtent) {
  tree_.File("1.txt", "UnSealed: TRUE\r\nSubject: opened\r\nFrom: alice\r\n--------\r\nbody\r\n");
  tree_.File("2.txt", "Subject: new\r\nUnSealed: TRUE\r\nFrom: bob\r\n--------\r\nSubject: in body\r\n");
  tree_.File("3.txt", "--------\r\nSubject: x\r\n");
  tree_.File("4.txt", "Subject: old\r\nSubject: \x93\xfa\x96\x7b\x8c\xea\r\nTo: carol\r\n");
  tree_.File("5.txt", "");
  Prefill();
  const std::string pattern = tree_.root() + "*.txt";
  ASSERT_EQ(addListMail_(list_, pattern.c_str(), tree_.root().c_str(), 0), 5);
  std::map<std::string, std::string> byName;
  size_t longest = 0;
  for (const auto& line : Lines()) {
    byName[NameOf(line)] = line;
    longest = std::max(longest, line.size());
  }
  ASSERT_EQ(byName.size(), 5u);
  EXPECT_EQ(byName["1.txt"], "  1.txt / opened / alice");
  EXPECT_EQ(byName["2.txt"], "* 2.txt / new / bob");
  EXPECT_EQ(byName["3.txt"], "3.txt /  / ");
  EXPECT_EQ(byName["4.txt"], "* 4.txt / \x93\xfa\x96\x7b\x8c\xea / ");
  EXPECT_EQ(byName["5.txt"], "5.txt /  / ");
  EXPECT_EQ(Extent(), static_cast<int>(longest * 6));

  // Flag 1 shows every mail as read; flag 2 lets each file decide.
  ASSERT_EQ(addListMail_(list_, pattern.c_str(), tree_.root().c_str(), 1), 5);
  for (const auto& line : Lines()) EXPECT_TRUE(line.rfind("* ", 0) != 0) << line;
  ASSERT_EQ(addListMail_(list_, pattern.c_str(), tree_.root().c_str(), 2), 5);
  int unread = 0;
  for (const auto& line : Lines()) unread += line.rfind("* ", 0) == 0;
  EXPECT_EQ(unread, 2);
}

TEST_F(HostTest, SenderIsNeverCarriedOverFromThePreviousFile) {
  for (int i = 1; i <= 20; ++i) {
    const std::string name = std::to_string(i) + ".txt";
    tree_.File(name, i % 2 ? "From: sender" + std::to_string(i) + "\nSubject: s\n" : std::string("Subject: s\n"));
  }
  const std::string pattern = tree_.root() + "*.txt";
  ASSERT_EQ(addListMail_(list_, pattern.c_str(), tree_.root().c_str(), 0), 20);
  bool withoutAfterWith = false, seenWith = false;
  for (const auto& line : Lines()) {
    const int number = std::stoi(NameOf(line));
    const std::string expected = number % 2 ? "sender" + std::to_string(number) : "";
    EXPECT_EQ(line.substr(line.rfind(" / ") + 3), expected) << line;
    withoutAfterWith |= seenWith && number % 2 == 0;
    seenWith |= number % 2 == 1;
  }
  EXPECT_TRUE(withoutAfterWith) << "the search order never put a file without sender after one with";
}

TEST_F(HostTest, NothingFoundEmptiesTheList) {
  Prefill();
  const std::string pattern = tree_.root() + "*.none";
  EXPECT_EQ(addListMail_(list_, pattern.c_str(), tree_.root().c_str(), 0), 0);
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(Extent(), 1234);
  EXPECT_EQ(sendFileToList_(list_, (tree_.root() + "missing\\*").c_str()), 0);
}

TEST_F(HostTest, FoldersOnlyAreCountedAndSetTheExtentToZero) {
  tree_.Folder("a");
  tree_.Folder("b.txt");
  Prefill();
  const std::string pattern = tree_.root() + "*";
  // ".", "..", "a" and "b.txt"
  EXPECT_EQ(addListMail_(list_, pattern.c_str(), tree_.root().c_str(), 0), 4);
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(Extent(), 0);
}

TEST_F(HostTest, UnopenableFileStopsWithOneAndKeepsEarlierLines) {
  for (int i = 1; i <= 6; ++i) tree_.File(std::to_string(i) + ".txt", "Subject: s\n");
  const std::string locked = tree_.root() + "4.txt";
  HANDLE hold = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);
  Prefill();
  const std::string pattern = tree_.root() + "*.txt";
  EXPECT_EQ(addListMail_(list_, pattern.c_str(), tree_.root().c_str(), 0), 1);
  CloseHandle(hold);
  const auto lines = Lines();
  EXPECT_LT(lines.size(), 6u);
  for (const auto& line : lines) EXPECT_NE(NameOf(line), "4.txt");
  EXPECT_EQ(Extent(), 1234) << "the extent is not set after a failure";
}

TEST_F(HostTest, OverlongLinesAndSummariesStayWithinTheirLimits) {
  // A 5000-byte subject line reads as pieces; the later piece that begins
  // with "From: " is a header line of its own.
  std::string subject(1999 - 9, 's');
  tree_.File("1.txt", "Subject: " + subject + "From: piece\n--------\n");
  tree_.File("2.txt", "Subject: " + std::string(4000, 'x') + "\n");
  const std::string pattern = tree_.root() + "*.txt";
  ASSERT_EQ(addListMail_(list_, pattern.c_str(), tree_.root().c_str(), 0), 2);
  std::map<std::string, std::string> byName;
  for (const auto& line : Lines()) byName[NameOf(line)] = line;
  EXPECT_EQ(byName["1.txt"].size(), 999u);
  EXPECT_EQ(byName["2.txt"].size(), 999u);
  EXPECT_EQ(byName["1.txt"].substr(0, 13), "* 1.txt / sss");
  EXPECT_EQ(Extent(), 999 * 6);

  // Folder plus name past 999 bytes cannot be a path: treated as unopenable.
  const std::string longFolder = tree_.root() + std::string(1000, 'f') + "\\";
  tree_.File("9.txt", "Subject: s\n");
  EXPECT_EQ(addListMail_(list_, (tree_.root() + "9.txt").c_str(), longFolder.c_str(), 0), 1);
}

TEST_F(HostTest, CounterIsSharedAndNeverReset) {
  tree_.File("1.txt", "");
  tree_.File("2.txt", "");
  tree_.File("a.txt.bak", "");
  tree_.File("3.TXT", "");
  tree_.File("notes.doc", "");
  tree_.Folder("9.txt");
  tree_.File("9.txt\\4.txt", "");
  const std::string pattern = tree_.root() + "*";
  EXPECT_EQ(directoryFCount_(pattern.c_str()), 4);
  EXPECT_EQ(directoryFCount_(pattern.c_str()), 8);
  EXPECT_EQ(sendFileToList_(list_, pattern.c_str()), 12);
  EXPECT_EQ(Lines().size(), 4u);
  EXPECT_EQ(directoryFCount_((tree_.root() + "missing\\*").c_str()), 0);
  EXPECT_EQ(directoryFCount_(pattern.c_str()), 16);
}

TEST_F(HostTest, HighestNumberOverTheTree) {
  tree_.Folder("empty");
  EXPECT_EQ(retMaxFName_((tree_.root() + "empty\\*").c_str()), 0);
  for (const char* name : {"3.txt", "12.txt", "x.txt", "007.txt", "12a.txt", "-5.txt"}) tree_.File(name, "");
  const std::string pattern = tree_.root() + "*";
  EXPECT_EQ(retMaxFName_(pattern.c_str()), 12);
  tree_.Folder("sub");
  tree_.File("sub\\40.txt", "");
  tree_.File("sub\\99.doc", "");
  EXPECT_EQ(retMaxFName_(pattern.c_str()), 40);
  EXPECT_EQ(retMaxFName_((tree_.root() + "missing\\*").c_str()), 0);
  // Never lowered by a later tree with smaller numbers.
  EXPECT_EQ(retMaxFName_((tree_.root() + "empty\\*").c_str()), 40);
}

TEST_F(HostTest, SendFileToListWalksDepthFirst) {
  const std::vector<std::string> files = {"1.txt", "a\\2.txt", "a\\b\\3.txt", "a\\b\\4.txt", "a\\5.txt",
                                          "c\\6.txt", "c\\7.txt", "8.txt"};
  tree_.Folder("a");
  tree_.Folder("a\\b");
  tree_.Folder("c");
  for (const auto& f : files) tree_.File(f, "x");
  Prefill();
  EXPECT_EQ(sendFileToList_(list_, (tree_.root() + "*").c_str()), 8);
  const auto lines = Lines();
  std::set<std::string> expected, listed(lines.begin(), lines.end());
  for (const auto& f : files) expected.insert(tree_.root() + f);
  EXPECT_EQ(listed, expected);
  // Depth first: the files under each folder form one unbroken run.
  for (const std::string folder : {"a\\", "a\\b\\", "c\\"}) {
    const std::string prefix = tree_.root() + folder;
    int first = -1, last = -1, inside = 0;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
      if (lines[i].rfind(prefix, 0) != 0) continue;
      if (first < 0) first = i;
      last = i;
      ++inside;
    }
    EXPECT_EQ(last - first + 1, inside) << folder;
  }
}

TEST_F(HostTest, TreePathsPastThePlatformLimitAreNotWalked) {
  // Nest folders until a pattern would pass 259 bytes; nothing breaks and the
  // reachable files are still counted.
  std::string relative;
  int reachable = 0;
  for (int depth = 0; depth < 40; ++depth) {
    relative += (relative.empty() ? "" : "\\") + std::string(10, 'd');
    tree_.Folder(relative);
    tree_.File(relative + "\\1.txt", "");
    if ((tree_.root() + relative + "\\*").size() <= 259) ++reachable;
  }
  ASSERT_GT(reachable, 0);
  ASSERT_LT(reachable, 40);
  EXPECT_EQ(directoryFCount_((tree_.root() + "*").c_str()), reachable);
  EXPECT_EQ(directoryFCount_(std::string(300, 'p').append("\\*").c_str()), 0);
}

}  // namespace
