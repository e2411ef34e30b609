// Compiled help on the real platform: the missing-file message and the
// help system started once.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/identity/win32/program_identity.h"
#include "ui/options/win32/help_display.h"
#include "win32/dialogs.h"
#include "win32/files.h"

namespace qxu {
namespace {

// Answers the message boxes that the calling thread shows, recording them.
struct MessageBoxWatcher : qxtest::DialogWatcher {
  MessageBoxWatcher() : DialogWatcher(qxtest::Scope::Thread(GetCurrentThreadId()), Press(IDOK)) {}
};

TEST(ShowHelp, MissingHelpFileIsReportedEveryTimeWithoutStartingHelp) {
  IdentityOwner identity(CreateIdentity());
  SetQxUpdateIdentity(identity.get());
  const std::wstring missing = std::wstring(identity->programFolder) + L"QxUpdate.chm";
  ASSERT_EQ(GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
  {
    MessageBoxWatcher watcher;
    EXPECT_EQ(ShowHelp(identity.get(), nullptr, missing.c_str(), L"_RESOURCE/Help-main.html"), 1);
    EXPECT_EQ(ShowHelp(identity.get(), nullptr, missing.c_str(), nullptr), 1);
    watcher.Stop();
    const std::vector<qxtest::SeenDialog> seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 2u) << watcher.Describe();
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(seen[i].text, L"Cannot find help file.");
      EXPECT_EQ(seen[i].caption, L"HtmlHelp Error");
    }
  }
  EXPECT_EQ(identity->helpStarted, 0);
  // A folder of that name is no help file either.
  {
    MessageBoxWatcher watcher;
    ShowHelp(identity.get(), nullptr, identity->programFolder, nullptr);
    watcher.Stop();
    EXPECT_EQ(watcher.Seen().size(), 1u) << watcher.Describe();
  }
  EXPECT_EQ(identity->helpStarted, 0);
}

TEST(ShowHelp, ExistingFileStartsTheHelpSystemOnce) {
  IdentityOwner identity(CreateIdentity());
  SetQxUpdateIdentity(identity.get());
  qxtest::TempFolder folder(L"qxu-help");
  const std::wstring file = folder / L"qxu_help.chm";
  ASSERT_TRUE(qxtest::WriteBytes(file, ""));
  MessageBoxWatcher watcher;
  EXPECT_EQ(ShowHelp(identity.get(), nullptr, file.c_str(), L"_RESOURCE/Help-main.html"), 1);
  EXPECT_EQ(identity->helpStarted, 1);
  EXPECT_EQ(ShowHelp(identity.get(), nullptr, file.c_str(), nullptr), 1);
  EXPECT_EQ(identity->helpStarted, 1);
  watcher.Stop();
  EXPECT_TRUE(watcher.Seen().empty()) << watcher.Describe();
  EndHelp(identity.get());
  EXPECT_EQ(identity->helpStarted, 0);
}

}  // namespace
}  // namespace qxu
