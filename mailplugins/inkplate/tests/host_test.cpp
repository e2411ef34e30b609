// Inkplate.dll as a host mail program uses it: loaded by path, PrintChar bound
// by name, called on the thread that owns the host's window. The print tests
// run against the private PDF queue of the print_queue fixture.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "inkplate.h"
#include "queue_probe.h"
#include "win32/dialogs.h"
#include "win32/files.h"
#include "win32/owned.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using qxtest::DialogCounter;
using qxtest::DialogWatcher;
using qxtest::Scope;

namespace {

struct DcTraits {
  using Value = HDC;
  static Value Empty() { return nullptr; }
  static void Close(Value value) { DeleteDC(value); }
};

// The host's own window, the owner of the print dialog.
qxtest::WindowHandle HostWindow() {
  return qxtest::WindowHandle(CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                              nullptr, nullptr, nullptr, nullptr));
}

// Answers the print dialog of this process as a user would, once its
// button can be pressed.
DialogWatcher PrintDialogAnswer(int button) {
  return DialogWatcher(Scope::ThisProcess(), DialogWatcher::PressWhenEnabled(button));
}

// True when the watcher pressed the button of a dialog.
bool Pressed(DialogWatcher& watcher, int button) {
  watcher.Stop();
  for (const qxtest::SeenDialog& seen : watcher.Seen())
    if (seen.answeredWith == button) return true;
  return false;
}

// Mail files are written by the host as CR LF text, here in a folder that
// goes with the test program.
std::string WriteMail(const std::string& name, const std::string& lines) {
  static qxtest::TempFolder folder(L"inkplate");
  const std::string path = folder / (name + ".txt");
  std::ofstream out(path, std::ios::binary);
  for (char c : lines) {
    if (c == '\n') out << '\r';
    out << c;
  }
  return path;
}

// The printer's line height: the default font's height on its device context.
int PrinterLineHeight() {
  char name[256] = {};
  DWORD size = sizeof name;
  if (!GetDefaultPrinterA(name, &size)) return 0;
  qxtest::Owned<DcTraits> ic(CreateICA(nullptr, name, nullptr, nullptr));
  TEXTMETRICA metrics = {};
  if (!ic.get() || !GetTextMetricsA(ic.get(), &metrics)) return 0;
  return metrics.tmHeight;
}

class InkplateHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    library_ = new qxtest::ModuleHandle(LoadLibraryW((qxtest::ProgramFolder() + L"Inkplate.dll").c_str()));
  }
  static void TearDownTestSuite() {
    delete library_;
    library_ = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(library_->get(), nullptr) << "Inkplate.dll not found beside the test";
    printChar_ = reinterpret_cast<PrintCharProc>(
        reinterpret_cast<void*>(GetProcAddress(library_->get(), "PrintChar")));
    ASSERT_NE(printChar_, nullptr);
  }
  void RequireQueue() {
    ASSERT_FALSE(QueueDir().empty()) << "needs the print queue fixture (INKPLATE_QUEUE_DIR)";
    before_ = ReadQueue();
    ASSERT_TRUE(before_.ok);
    ASSERT_EQ(before_.pending, 0);
  }

  static qxtest::ModuleHandle* library_;
  PrintCharProc printChar_ = nullptr;
  QueueReport before_;
};

qxtest::ModuleHandle* InkplateHost::library_ = nullptr;

const char kMail[] =
    "UnSealed: TRUE\n"
    "To: bob@example.com\n"
    "X-Mailer: HostMail 2.1\n"
    "Subject: Quarterly figures\n"
    "From: alice@example.com\n"
    "--------\n";

TEST_F(InkplateHost, ExportsOnlyThePlainName) {
  EXPECT_EQ(GetProcAddress(library_->get(), "PrintChar@16"), nullptr);
  EXPECT_EQ(GetProcAddress(library_->get(), "_PrintChar@16"), nullptr);
}

TEST_F(InkplateHost, MissingFileReturnsOneWithoutADialog) {
  const bool queue = !QueueDir().empty();
  if (queue) RequireQueue();
  DialogCounter dialogs;
  EXPECT_EQ(printChar_("Z:\\no\\such\\folder\\12.txt", 1000, 0, nullptr), 1);
  EXPECT_EQ(printChar_(nullptr, 1000, 1, nullptr), 1);
  EXPECT_EQ(dialogs.count(), 0);
  if (queue) {
    EXPECT_EQ(ReadQueue().jobs, before_.jobs);
  }
}

TEST_F(InkplateHost, CancelledDialogReturnsOneAndPrintsNothing) {
  RequireQueue();
  const std::string mail = WriteMail("cancel", std::string(kMail) + "body\n");
  const qxtest::WindowHandle host = HostWindow();
  DialogCounter dialogs;
  DialogWatcher watcher = PrintDialogAnswer(IDCANCEL);
  EXPECT_EQ(printChar_(mail.c_str(), 1000, 0, host.get()), 1);
  EXPECT_TRUE(Pressed(watcher, IDCANCEL));
  EXPECT_GE(dialogs.count(), 1);
  EXPECT_TRUE(IsWindowEnabled(host.get()));
  const QueueReport after = ReadQueue();
  EXPECT_EQ(after.jobs, before_.jobs);
  EXPECT_EQ(after.pdf, before_.pdf);
  DeleteFileA(mail.c_str());
}

TEST_F(InkplateHost, ConfirmedDialogPrintsTheMailPageByPage) {
  RequireQueue();
  const int lineHeight = PrinterLineHeight();
  ASSERT_GT(lineHeight, 0);
  std::string lines = kMail;
  for (int i = 1; i <= 11; ++i) lines += "body line " + std::to_string(i) + "\n";
  const std::string mail = WriteMail("print", lines);
  const qxtest::WindowHandle host = HostWindow();
  DialogWatcher watcher = PrintDialogAnswer(IDOK);
  // Rows 2 to 6 fit; the header lines never break a page.
  EXPECT_EQ(printChar_(mail.c_str(), 6 * lineHeight, 0, host.get()), 0);
  EXPECT_TRUE(Pressed(watcher, IDOK));

  const QueueReport after = ReadQueue();
  ASSERT_TRUE(after.ok);
  EXPECT_EQ(after.jobs, before_.jobs + 1);
  EXPECT_EQ(after.pending, 0);
  ASSERT_FALSE(after.pdf.empty());
  EXPECT_NE(after.pdf, before_.pdf);
  EXPECT_NE(after.pdf.find("TEST_PRINT"), std::string::npos) << after.pdf;
  // The last line ends a full page, so an empty page closes the job.
  ASSERT_THAT(after.pages, SizeIs(4));
  EXPECT_THAT(after.pages[0], ElementsAre("To: bob@example.com", "Subject: Quarterly figures",
                                          "From: alice@example.com", "--------", "body line 1"));
  EXPECT_THAT(after.pages[1], ElementsAre("body line 2", "body line 3", "body line 4",
                                          "body line 5", "body line 6"));
  EXPECT_THAT(after.pages[2], ElementsAre("body line 7", "body line 8", "body line 9",
                                          "body line 10", "body line 11"));
  EXPECT_THAT(after.pages[3], IsEmpty());
  DeleteFileA(mail.c_str());
}

TEST_F(InkplateHost, PrintAllPrintsEveryLineOfTheFile) {
  RequireQueue();
  const int lineHeight = PrinterLineHeight();
  ASSERT_GT(lineHeight, 0);
  const std::string mail = WriteMail("all", std::string(kMail) + "Hello Bob,\nsee you.\n");
  DialogWatcher watcher = PrintDialogAnswer(IDOK);
  EXPECT_EQ(printChar_(mail.c_str(), 40 * lineHeight, 1, nullptr), 0);
  EXPECT_TRUE(Pressed(watcher, IDOK));

  const QueueReport after = ReadQueue();
  ASSERT_TRUE(after.ok);
  EXPECT_EQ(after.jobs, before_.jobs + 1);
  ASSERT_THAT(after.pages, SizeIs(1));
  EXPECT_THAT(after.pages[0],
              ElementsAre("UnSealed: TRUE", "To: bob@example.com", "X-Mailer: HostMail 2.1",
                          "Subject: Quarterly figures", "From: alice@example.com", "--------",
                          "Hello Bob,", "see you."));
  DeleteFileA(mail.c_str());
}

}  // namespace
