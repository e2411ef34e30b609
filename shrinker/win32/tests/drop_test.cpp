// Drops onto a hosted Form1 through WM_DROPFILES with a real drop block.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "control_ids.h"
#include "hosted_window.h"

namespace vantilo::test {
namespace {

struct ProgressSeen {
  int position, maximum;
};

class Drops : public ::testing::Test {
 protected:
  void Record(HostedWindow& form) {
    form.Window().SetPreviewObserver([this, &form] {
      HWND bar = form.Control(kProgressBar1);
      seen.push_back({static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)),
                      static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0))});
      previewVisible.push_back(IsWindowVisible(form.Control(kImage1)) != FALSE);
    });
  }
  static int Position(HostedWindow& form) {
    return static_cast<int>(SendMessageW(form.Control(kProgressBar1), PBM_GETPOS, 0, 0));
  }
  static int Maximum(HostedWindow& form) {
    return static_cast<int>(SendMessageW(form.Control(kProgressBar1), PBM_GETRANGE, FALSE, 0));
  }

  TempFolder dir;
  std::vector<ProgressSeen> seen;
  std::vector<bool> previewVisible;
};

TEST_F(Drops, ThreeFilesWithATextFileGiveTwoOutputs) {
  WriteBmp(dir / "a.bmp", MakePicture(200, 150, 1));
  WriteText(dir / "b.txt", "text");
  WritePng(dir / "c.png", MakePicture(100, 80, 2));
  HostedWindow form(dir);
  Record(form);
  EXPECT_EQ(SendMessageW(form.Hwnd(), WM_DROPFILES,
                         reinterpret_cast<WPARAM>(MakeDrop({dir / "a.bmp", dir / "b.txt", dir / "c.png"})), 0),
            0);
  EXPECT_EQ(ListFolder(dir / "Resized"), (std::vector<std::string>{"a.jpg", "c.jpg"}));
  ASSERT_EQ(seen.size(), 2u);  // no preview for the text file
  EXPECT_EQ(seen[0].position, 0);
  EXPECT_EQ(seen[1].position, 2);
  EXPECT_EQ(seen[0].maximum, 3);
  EXPECT_EQ(previewVisible, (std::vector<bool>{true, true}));
  EXPECT_EQ(Position(form), 0);
  EXPECT_EQ(Maximum(form), 3);
  EXPECT_FALSE(IsWindowVisible(form.Control(kImage1)));
}

TEST_F(Drops, FailingFileLeavesItsPreviewShown) {
  WriteBmp(dir / "wide.bmp", MakePicture(10000, 1, 1));
  WriteIni(dir / "Vantilo.ini", "pixel", {{"Index", "6"}});
  HostedWindow form(dir);
  SendMessageW(form.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir / "wide.bmp"})), 0);
  EXPECT_TRUE(IsWindowVisible(form.Control(kImage1)));
  EXPECT_FALSE(FolderExists(dir / "Resized"));
  EXPECT_EQ(Position(form), 0);
}

TEST_F(Drops, EmptyAffixIsShownAndSavedAsTheDefault) {
  WriteIni(dir / "Vantilo.ini", "changed", {{"save", "0"}, {"AfterBefore", "0"}, {"AddName", ""}});
  WriteBmp(dir / "a.bmp", MakePicture(64, 48, 1));
  HostedWindow form(dir);
  ASSERT_EQ(form.Text(kEdit4), L"");
  SendMessageW(form.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir / "a.bmp"})), 0);
  EXPECT_TRUE(FileExists(dir / "s-a.jpg"));
  EXPECT_EQ(form.Text(kEdit4), L"s-");
  SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(IniValue(dir / "Vantilo.ini", "changed", "AddName"), "s-");
}

TEST_F(Drops, SettingsChangedDuringABatchApplyToTheNextFile) {
  WriteBmp(dir / "a.bmp", MakePicture(300, 200, 1));
  WriteBmp(dir / "b.bmp", MakePicture(300, 200, 2));
  HostedWindow form(dir);
  form.Window().SetPreviewObserver([&form] {
    // After the first preview: folder naming into another folder.
    SetWindowTextW(form.Control(kEdit5), L"Second");
  });
  SendMessageW(form.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir / "a.bmp", dir / "b.bmp"})), 0);
  EXPECT_TRUE(FileExists(dir / "Second\\a.jpg"));  // naming is read after the preview
  EXPECT_TRUE(FileExists(dir / "Second\\b.jpg"));
}

TEST_F(Drops, AnOutputThatIsAnotherDroppedPictureIsSkipped) {
  WriteIni(dir / "Vantilo.ini", "changed", {{"save", "0"}, {"AfterBefore", "0"}, {"AddName", "s-"}});
  WriteJpeg(dir / "a.jpg", MakePicture(300, 200, 1));
  WriteJpeg(dir / "s-a.jpg", MakePicture(200, 300, 2));
  const auto users = ReadBytes(dir / "s-a.jpg");
  HostedWindow form(dir);
  Record(form);
  SendMessageW(form.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir / "a.jpg", dir / "s-a.jpg"})), 0);
  EXPECT_EQ(ReadBytes(dir / "s-a.jpg"), users);
  EXPECT_EQ(ReadBytes(dir / "s-s-a.jpg"), ExpectedOutput(dir / "s-a.jpg", {}));
  ASSERT_EQ(seen.size(), 2u);  // both were loaded and shown
  EXPECT_EQ(Position(form), 0);
}

TEST_F(Drops, DropAndCloseDuringABatchWaitForItsEnd) {
  WriteBmp(dir / "a.bmp", MakePicture(200, 150, 1));
  WriteBmp(dir / "b.bmp", MakePicture(200, 150, 2));
  WriteBmp(dir / "late.bmp", MakePicture(200, 150, 3));
  HostedWindow form(dir);
  HWND hwnd = form.Hwnd();
  int previews = 0;
  bool aliveAtSecond = false;
  form.Window().SetPreviewObserver([&] {
    if (++previews == 1) {
      // Both arrive while the first file is in progress.
      PostMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir / "late.bmp"})), 0);
      PostMessageW(hwnd, WM_CLOSE, 0, 0);
    } else {
      aliveAtSecond = IsWindow(hwnd) && form.Window().BatchRunning();
    }
  });
  SendMessageW(hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir / "a.bmp", dir / "b.bmp"})), 0);
  EXPECT_EQ(previews, 2);
  EXPECT_TRUE(aliveAtSecond);
  EXPECT_EQ(ListFolder(dir / "Resized"), (std::vector<std::string>{"a.jpg", "b.jpg"}));  // "late" was not taken
  EXPECT_FALSE(IsWindow(hwnd));  // the deferred close ran after the batch
  EXPECT_EQ(IniValue(dir / "Vantilo.ini", "pixel", "Index"), "0");
}

TEST_F(Drops, OverlongPathIsSkippedRatherThanCut) {
  // A dropped path longer than the 259 characters read would be cut to
  // the name of another file; that file must not be processed.
  std::string base = dir / "";
  const std::string stem(255 - base.size(), 'p');
  const std::string shortName = base + stem + ".bmp";  // 259 characters
  ASSERT_EQ(shortName.size(), 259u);
  WriteBmp(shortName, MakePicture(40, 30, 1));
  HostedWindow form(dir);
  form.Window().SetPreviewObserver([] { ADD_FAILURE() << "a cut path was processed"; });
  SendMessageW(form.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({shortName + ".txt"})), 0);
  EXPECT_FALSE(FolderExists(dir / "Resized"));
  EXPECT_EQ(Position(form), 0);
}

std::wstring Wide(const std::string& narrow) {
  wchar_t buffer[MAX_PATH * 2];
  const int n = MultiByteToWideChar(CP_ACP, 0, narrow.c_str(), -1, buffer, MAX_PATH * 2);
  return std::wstring(buffer, n > 0 ? n - 1 : 0);
}

TEST_F(Drops, WideDropNamesOutsideTheCodePageAreNotGuessed) {
  // "a\u00e9.bmp" has no spelling in code page 932; as "a?.bmp" it would be
  // looked up as a wildcard and find ab.bmp.
  WriteBmp(dir / "ab.bmp", MakePicture(64, 48, 1));
  const std::wstring accented = Wide(dir.pathA()) + L"\\a\u00e9.bmp";
  ASSERT_TRUE(CopyFileW(Wide(dir / "ab.bmp").c_str(), accented.c_str(), FALSE));
  const std::string japanese = dir / "\x95\x5C\x8E\xA6.bmp";  // 表示.bmp
  WriteBmp(japanese, MakePicture(64, 48, 2));
  HostedWindow form(dir);
  Record(form);
  SendMessageW(form.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeWideDrop({accented, Wide(japanese)})), 0);
  EXPECT_EQ(ListFolder(dir / "Resized"), std::vector<std::string>{"\x95\x5C\x8E\xA6.jpg"});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].position, 1);
  EXPECT_EQ(Maximum(form), 2);
}

TEST_F(Drops, EmptyDropChangesNothing) {
  HostedWindow form(dir);
  SendMessageW(form.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({})), 0);
  EXPECT_EQ(Maximum(form), 100);
  EXPECT_EQ(Position(form), 0);
}

TEST(CommandLineHosted, RunEndsTheWindowWithoutSaving) {
  TempFolder dir;
  WriteBmp(dir / "a.bmp", MakePicture(64, 48, 1));
  {
    // The hosted window runs its arguments while it is first shown.
    HostedWindow form(dir, {dir / "a.bmp", dir / "missing.jpg"});
    EXPECT_FALSE(IsWindow(form.Hwnd()));
  }
  EXPECT_TRUE(FileExists(dir / "Resized\\a.jpg"));
  EXPECT_FALSE(FileExists(dir / "Vantilo.ini"));
}

}  // namespace
}  // namespace vantilo::test
