// Vantilo.exe run with paths on its command line, on files made here.
#include <gtest/gtest.h>

#include "app_test_support.h"
#include <shlobj.h>

#include "ansi_path.h"
#include "handles.h"
#include "picture/load_picture.h"

namespace vantilo::test {
namespace {

using Names = std::vector<std::string>;

class CommandLineRun : public ::testing::Test {
 protected:
  // Settings the program reads beside its copy in the folder.
  void Settings(const std::string& section, const std::vector<std::pair<std::string, std::string>>& values) {
    WriteIni(Ini(), section, values);
  }
  std::string Ini() const { return dir / "Vantilo.ini"; }
  int Run(const std::string& args) { return RunVantilo(dir.pathA(), args, dir.pathA()); }
  std::string Quoted(const std::string& name) const { return "\"" + (dir / name) + "\""; }
  // The folder's content apart from the program and its settings.
  Names Outputs(const std::string& sub = "") const {
    Names names;
    for (const std::string& n : ListFolder(sub.empty() ? dir.pathA() : dir / sub))
      if (n != "Vantilo.exe" && n != "Vantilo.ini") names.push_back(n);
    return names;
  }

  TempFolder dir;
};

TEST_F(CommandLineRun, TextFileAmongPicturesIsSkippedAndSettingsStayUnwritten) {
  WriteBmp(dir / "a.bmp", MakePicture(300, 200, 1));
  WriteText(dir / "notes.txt", "not a picture");
  WritePng(dir / "b.png", MakePicture(120, 90, 2));
  ASSERT_EQ(Run(Quoted("a.bmp") + " " + Quoted("notes.txt") + " " + Quoted("b.png")), 0);
  EXPECT_EQ(Outputs("Resized"), (Names{"a.jpg", "b.jpg"}));
  EXPECT_EQ(ReadBytes(dir / "Resized\\a.jpg"), ExpectedOutput(dir / "a.bmp", {}));
  EXPECT_EQ(ReadBytes(dir / "Resized\\b.jpg"), ExpectedOutput(dir / "b.png", {}));
  // A command-line run ends without saving the settings.
  EXPECT_FALSE(FileExists(Ini()));
}

TEST_F(CommandLineRun, LaterSourceWinsTheSharedOutputName) {
  WriteBmp(dir / "a.bmp", MakePicture(200, 100, 1));
  WriteJpeg(dir / "a.jpg", MakePicture(160, 120, 5));
  ASSERT_EQ(Run("a.bmp a.jpg"), 0);  // relative to the working folder
  EXPECT_EQ(Outputs("Resized"), Names{"a.jpg"});
  EXPECT_EQ(ReadBytes(dir / "Resized\\a.jpg"), ExpectedOutput(dir / "a.jpg", {}));
}

TEST_F(CommandLineRun, AffixBeforeAndAfterTheName) {
  Settings("changed", {{"save", "0"}, {"AfterBefore", "0"}, {"AddName", "s-"}});
  WriteJpeg(dir / "a.JPEG", MakePicture(90, 60, 1));
  ASSERT_EQ(Run("a.JPEG"), 0);
  EXPECT_EQ(Outputs(), (Names{"a.JPEG", "s-a.jpg"}));

  Settings("changed", {{"AfterBefore", "1"}, {"AddName", "_small"}});
  WritePng(dir / "p.png", MakePicture(90, 60, 2));
  ASSERT_EQ(Run("p.png"), 0);
  EXPECT_TRUE(FileExists(dir / "p_small.jpg"));
}

TEST_F(CommandLineRun, EmptyAffixWritesTheDefaultAffix) {
  Settings("changed", {{"save", "0"}, {"AfterBefore", "0"}, {"AddName", ""}});
  WriteBmp(dir / "a.bmp", MakePicture(64, 48, 1));
  ASSERT_EQ(Run("a.bmp"), 0);
  EXPECT_EQ(Outputs(), (Names{"a.bmp", "s-a.jpg"}));
  EXPECT_EQ(IniValue(Ini(), "changed", "AddName"), "");  // not saved by a command-line run
}

TEST_F(CommandLineRun, NoAffixPositionWritesNothingAndNoPageLine) {
  Settings("changed", {{"save", "0"}, {"AfterBefore", "2"}});
  Settings("option", {{"html", "1"}});
  WriteBmp(dir / "a.bmp", MakePicture(64, 48, 1));
  ASSERT_EQ(Run("a.bmp"), 0);
  EXPECT_EQ(Outputs(), Names{"a.bmp"});
}

TEST_F(CommandLineRun, FolderNamingCreatesOnceReusesAndKeepsOnePagePerDay) {
  Settings("option", {{"html", "1"}});
  WriteBmp(dir / "a.bmp", MakePicture(64, 48, 1));
  WritePng(dir / "b c&d.png", MakePicture(64, 48, 2));
  ASSERT_EQ(Run("a.bmp"), 0);
  ASSERT_TRUE(FolderExists(dir / "Resized"));
  ASSERT_EQ(Run("a.bmp " + Quoted("b c&d.png")), 0);
  const std::string page = TodayPageName();
  EXPECT_EQ(Outputs("Resized"), (Names{page, "a.jpg", "b c&d.jpg"}));  // digits sort first
  const std::string line = "<a href=\"../a.jpg\"><img src=\"a.jpg\" border=\"0\"></a>\r\n";
  const std::string other = "<a href=\"../b c&amp;d.jpg\"><img src=\"b c&amp;d.jpg\" border=\"0\"></a>\r\n";
  const auto bytes = ReadBytes(dir / ("Resized\\" + page));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), line + line + other);
}

TEST_F(CommandLineRun, AffixPageLivesBesideTheSources) {
  Settings("option", {{"html", "1"}});
  Settings("changed", {{"save", "0"}, {"AfterBefore", "1"}, {"AddName", "_t"}});
  WriteBmp(dir / "a.bmp", MakePicture(64, 48, 1));
  ASSERT_EQ(Run("a.bmp"), 0);
  const auto bytes = ReadBytes(dir / TodayPageName());
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "<a href=\"a.jpg\"><img src=\"a_t.jpg\" border=\"0\"></a>\r\n");
}

TEST_F(CommandLineRun, PageLinesLinkNamesThatWouldBreakTheLink) {
  Settings("option", {{"html", "1"}});
  Settings("changed", {{"save", "0"}, {"AfterBefore", "0"}, {"AddName", "#"}});
  WriteBmp(dir / "50% off&more.bmp", MakePicture(64, 48, 1));
  ASSERT_EQ(Run(Quoted("50% off&more.bmp")), 0);
  EXPECT_TRUE(FileExists(dir / "#50% off&more.jpg"));
  const auto bytes = ReadBytes(dir / TodayPageName());
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            "<a href=\"50%25 off&amp;more.jpg\"><img src=\"%2350%25 off&amp;more.jpg\" border=\"0\"></a>\r\n");
}

TEST_F(CommandLineRun, TwoLevelFolderWithMissingParentWritesNothing) {
  Settings("changed", {{"folder", "missing\\sub"}});
  WriteBmp(dir / "a.bmp", MakePicture(64, 48, 1));
  ASSERT_EQ(Run("a.bmp"), 0);
  EXPECT_EQ(Outputs(), Names{"a.bmp"});
  // With the parent present the second level is made.
  ASSERT_TRUE(CreateDirectoryA((dir / "missing").c_str(), nullptr));
  ASSERT_EQ(Run("a.bmp"), 0);
  EXPECT_TRUE(FileExists(dir / "missing\\sub\\a.jpg"));
}

TEST_F(CommandLineRun, PicturesThatCannotBeFittedWriteNothing) {
  Settings("pixel", {{"Index", "6"}});
  WriteBmp(dir / "wide.bmp", MakePicture(10000, 1, 1));
  WriteBmp(dir / "tall.bmp", MakePicture(1, 10000, 1));
  WriteText(dir / "broken.png", "\x89PNG\r\n\x1a\n garbage");
  WriteText(dir / "empty.jpg", "");
  ASSERT_EQ(Run("wide.bmp tall.bmp broken.png empty.jpg"), 0);
  EXPECT_FALSE(FolderExists(dir / "Resized"));  // nothing got as far as the naming
}

TEST_F(CommandLineRun, CustomBoxSidesOfZeroOrBelowFailEveryPicture) {
  WriteBmp(dir / "a.bmp", MakePicture(300, 200, 1));
  for (const auto& [x, y] : {std::pair<const char*, const char*>{"0", "100"}, {"100", "0"}, {"-5", "100"}, {"-5", "-5"}}) {
    Settings("pixel", {{"Index", "7"}, {"x", x}, {"y", y}});
    ASSERT_EQ(Run("a.bmp"), 0);
    EXPECT_FALSE(FileExists(dir / "Resized\\a.jpg")) << x << " x " << y;
  }
  Settings("pixel", {{"x", "100"}, {"y", "50"}});
  ASSERT_EQ(Run("a.bmp"), 0);
  WorkPicture out;
  ASSERT_TRUE(LoadPicture(dir / "Resized\\a.jpg", out));
  EXPECT_EQ(out.Width(), 75);
  EXPECT_EQ(out.Height(), 50);
}

TEST_F(CommandLineRun, OptionsReachThePipeline) {
  Settings("pixel", {{"Index", "5"}});
  Settings("option", {{"lap", "0"}, {"chroma", "1"}, {"mono", "1"}, {"progressive", "1"}, {"parcent", "70"}});
  WriteBmp(dir / "a.bmp", MakePicture(500, 400, 3));
  ASSERT_EQ(Run("a.bmp"), 0);
  PipelineOptions o;
  o.boxWidth = o.boxHeight = 320;
  o.sharpen = false;
  o.saturation = o.gray = o.progressive = true;
  o.quality = 70;
  EXPECT_EQ(ReadBytes(dir / "Resized\\a.jpg"), ExpectedOutput(dir / "a.bmp", o));
}

TEST_F(CommandLineRun, SizeModeWritesTheSearchedFile) {
  Settings("option", {{"jpeg", "0"}, {"FileSize", "3"}, {"lapnum", "150"}});
  WriteBmp(dir / "a.bmp", MakePicture(400, 300, 4));
  ASSERT_EQ(Run("a.bmp"), 0);
  PipelineOptions o;
  o.strength = 150;
  o.targetKByte = 3;
  const auto written = ReadBytes(dir / "Resized\\a.jpg");
  EXPECT_EQ(written, ExpectedOutput(dir / "a.bmp", o));
  EXPECT_LE(written.size(), 3u * 1024);
  EXPECT_EQ(Outputs(), (Names{"Resized", "a.bmp"}));  // no temporary file is left
}

TEST_F(CommandLineRun, PhonePhotosComeOutUpright) {
  // Stored sideways with orientation 6: shown a quarter turn clockwise.
  const WorkPicture stored = MakePicture(400, 300, 2);
  WriteJpegWithOrientation(dir / "phone.jpg", stored, 6);
  WriteJpeg(dir / "plain.jpg", stored);
  ASSERT_EQ(Run("phone.jpg plain.jpg"), 0);
  WorkPicture decoded;
  ASSERT_TRUE(LoadPicture(dir / "plain.jpg", decoded));
  EXPECT_EQ(ReadBytes(dir / "Resized\\phone.jpg"), ExpectedOutputOf(QuarterTurnClockwise(decoded), {}));
  // No tag: the bytes of before.
  EXPECT_EQ(ReadBytes(dir / "Resized\\plain.jpg"), ExpectedOutput(dir / "plain.jpg", {}));
  // rotate=0 keeps the picture as stored.
  Settings("option", {{"rotate", "0"}});
  ASSERT_EQ(Run("phone.jpg"), 0);
  EXPECT_EQ(ReadBytes(dir / "Resized\\phone.jpg"), ExpectedOutput(dir / "plain.jpg", {}));
}

TEST_F(CommandLineRun, NoOutputReplacesAnotherSourceOfTheBatch) {
  // Each naming mode with a source whose output name is another source.
  struct Case {
    const char* save;
    const char* position;
    const char* name;
    const char* source;  // the other file, whose name a.jpg's output would take
    const char* written;  // that file's own output
  };
  const Case cases[] = {{"0", "0", "s-", "s-a.jpg", "s-s-a.jpg"},
                        {"0", "1", "_s", "a_s.jpg", "a_s_s.jpg"},
                        {"1", "0", "Sub", "Sub\\a.jpg", "Sub\\Sub\\a.jpg"}};
  for (const Case& c : cases) {
    TempFolder here;
    ASSERT_TRUE(CreateDirectoryA((here / "Sub").c_str(), nullptr));
    WriteIni(here / "Vantilo.ini", "changed", {{"save", c.save}, {"AfterBefore", c.position}, {"AddName", c.name}, {"folder", c.name}});
    WriteJpeg(here / "a.jpg", MakePicture(300, 200, 1));
    WriteJpeg(here / c.source, MakePicture(200, 300, 2));
    const auto users = ReadBytes(here / c.source);
    // In either order: read before or after a.jpg is shrunk.
    for (const std::string& order : {std::string("a.jpg ") + c.source, std::string(c.source) + " a.jpg"}) {
      ASSERT_EQ(RunVantilo(here.pathA(), order, here.pathA()), 0);
      EXPECT_EQ(ReadBytes(here / c.source), users) << c.source << " in \"" << order << '"';
      EXPECT_EQ(ReadBytes(here / c.written), ExpectedOutput(here / c.source, {})) << c.written;
    }
  }
}

TEST_F(CommandLineRun, MixedBatchGivesTheBytesOfOneByOne) {
  // Pictures of every kind, big and small, with failures in between: the
  // batch hands each to the engine while the one before is finished, and
  // every output is what the whole-picture functions make of it alone.
  WriteJpeg(dir / "photo.jpg", MakePicture(1700, 1300, 1));
  WritePng(dir / "drawing.png", MakePicture(500, 700, 2));
  WriteText(dir / "broken.jpg", "not a jpeg");
  WriteGif(dir / "anim.gif", MakePicture(300, 200, 3));
  WriteBmp(dir / "scan.bmp", MakePicture(1400, 1000, 4));
  WriteGrayJpeg(dir / "gray.jpg", MakePicture(900, 600, 5));
  WriteText(dir / "notes.txt", "skipped");
  WriteJpegWithOrientation(dir / "phone.jpg", MakePicture(800, 600, 6), 8);
  WriteBmp(dir / "wide.bmp", MakePicture(3000, 2, 7));
  WriteJpeg(dir / "small.jpg", MakePicture(100, 80, 8));
  const char* order[] = {"photo.jpg", "drawing.png", "broken.jpg", "anim.gif", "scan.bmp", "gray.jpg",
                         "notes.txt", "phone.jpg", "wide.bmp", "small.jpg"};
  for (const auto& [options, settings] :
       {std::pair<PipelineOptions, std::vector<std::pair<std::string, std::string>>>{{}, {}},
        {[] { PipelineOptions o; o.boxWidth = o.boxHeight = 640; o.saturation = true; o.strength = 150;
              o.progressive = true; return o; }(),
         {{"Index", "3"}, {"chroma", "1"}, {"lapnum", "150"}, {"progressive", "1"}}},
        {[] { PipelineOptions o; o.boxWidth = o.boxHeight = 400; o.targetKByte = 20; return o; }(),
         {{"Index", "4"}, {"chroma", "0"}, {"lapnum", "80"}, {"progressive", "0"}, {"jpeg", "0"}, {"FileSize", "20"}}}}) {
    for (const auto& [key, value] : settings) Settings(key == "Index" ? "pixel" : "option", {{key, value}});
    std::string args;
    for (const char* name : order) args += std::string(name) + " ";
    ASSERT_EQ(Run(args), 0);
    EXPECT_EQ(Outputs("Resized"), (Names{"anim.jpg", "drawing.jpg", "gray.jpg", "phone.jpg", "photo.jpg", "scan.jpg",
                                         "small.jpg"}));
    for (const char* name : {"photo.jpg", "drawing.png", "anim.gif", "scan.bmp", "gray.jpg", "small.jpg"}) {
      const std::string out = ReplaceExtension(name, ".jpg");
      EXPECT_EQ(ReadBytes(dir / ("Resized\\" + out)), ExpectedOutput(dir / name, options)) << name;
    }
    WorkPicture stored;
    ASSERT_TRUE(LoadPicture(dir / "phone.jpg", stored));
    const WorkPicture upright = QuarterTurnClockwise(QuarterTurnClockwise(QuarterTurnClockwise(stored)));
    EXPECT_EQ(ReadBytes(dir / "Resized\\phone.jpg"), ExpectedOutputOf(upright, options));
    for (const std::string& n : Outputs("Resized")) DeleteFileA((dir / ("Resized\\" + n)).c_str());
    RemoveDirectoryA((dir / "Resized").c_str());
  }
}

TEST_F(CommandLineRun, WildcardTakesTheFirstMatchOnly) {
  ASSERT_TRUE(CreateDirectoryA((dir / "pics").c_str(), nullptr));
  WriteJpeg(dir / "pics\\b.jpg", MakePicture(40, 30, 1));
  WriteJpeg(dir / "pics\\c.jpg", MakePicture(40, 30, 2));
  WriteJpeg(dir / "pics\\d.jpg", MakePicture(40, 30, 3));
  ASSERT_EQ(Run("pics\\*.jpg"), 0);
  const Names out = Outputs("pics\\Resized");
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(ReadBytes(dir / ("pics\\Resized\\" + out[0])), ExpectedOutput(dir / ("pics\\" + out[0]), {}));
}

TEST_F(CommandLineRun, DoubleByteNamesKeepTheirTrailBytes) {
  // "表示" and the folder "ソフト" contain the trail byte 0x5C.
  const std::string folder = "\x83\x5C\x83\x74\x83\x67", name = "\x95\x5C\x8E\xA6";
  Settings("changed", {{"folder", folder}});
  WriteBmp(dir / (name + ".bmp"), MakePicture(64, 48, 1));
  ASSERT_EQ(Run(Quoted(name + ".bmp")), 0);
  EXPECT_TRUE(FileExists(dir / (folder + "\\" + name + ".jpg")));
}

TEST_F(CommandLineRun, OutputNeverReplacesItsSource) {
  WriteJpeg(dir / "a.jpg", MakePicture(300, 200, 1));
  const auto original = ReadBytes(dir / "a.jpg");
  for (const char* folder : {"", ".", ".\\", "sub\\..", "..\\"}) {
    std::string name = folder;
    if (name == "..\\") name += dir.pathA().substr(dir.pathA().find_last_of('\\') + 1);
    Settings("changed", {{"save", "1"}, {"folder", name}});
    ASSERT_EQ(Run("a.jpg"), 0);
    EXPECT_EQ(ReadBytes(dir / "a.jpg"), original) << '"' << name << '"';
  }
  // Nor can an affix that walks back into the folder.
  Settings("changed", {{"save", "0"}, {"AfterBefore", "0"}, {"AddName", "x\\..\\"}});
  ASSERT_EQ(Run("a.jpg"), 0);
  EXPECT_EQ(ReadBytes(dir / "a.jpg"), original);
  EXPECT_EQ(Outputs(), Names{"a.jpg"});
}

TEST_F(CommandLineRun, ShortcutSwitchAloneMakesTheShortcutAndNothingElse) {
  TempFolder desktop;
  ShellFolderRedirect redirect("Desktop", desktop.pathA());
  Settings("pixel", {{"Index", "3"}});
  const auto iniBefore = ReadBytes(Ini());
  ASSERT_EQ(Run("/sc"), 0);
  EXPECT_EQ(ListFolder(desktop.pathA()), Names{"Vantilo.lnk"});
  {
    ComApartment com;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    ASSERT_HRESULT_SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid()));
    ASSERT_HRESULT_SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid()));
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, (desktop / "Vantilo.lnk").c_str(), -1, wide, MAX_PATH);
    ASSERT_HRESULT_SUCCEEDED(file->Load(wide, STGM_READ));
    char text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, 0);
    EXPECT_TRUE(EqualsIgnoreAsciiCase(text, dir / "Vantilo.exe")) << text;
    link->GetWorkingDirectory(text, MAX_PATH);
    EXPECT_TRUE(EqualsIgnoreAsciiCase(text, dir / "")) << text;
    link->GetDescription(text, MAX_PATH);
    EXPECT_STREQ(text, "Vantilo");
  }
  EXPECT_EQ(ReadBytes(Ini()), iniBefore);
  EXPECT_EQ(Outputs(), Names{});
  // A second run replaces the shortcut.
  WriteText(desktop / "Vantilo.lnk", "old");
  ASSERT_EQ(Run("/sc"), 0);
  EXPECT_GT(ReadBytes(desktop / "Vantilo.lnk").size(), 3u);
  // Only the exact switch counts.
  DeleteFileA((desktop / "Vantilo.lnk").c_str());
  ASSERT_EQ(Run("/SC"), 0);
  EXPECT_EQ(ListFolder(desktop.pathA()), Names{});
}

}  // namespace
}  // namespace vantilo::test
