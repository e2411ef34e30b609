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

// Points a registry value to a folder of the test's own and puts the old
// value back afterwards.
class RegistryValue {
 public:
  RegistryValue(const char* keyPath, const char* name, const std::string& value) : name_(name) {
    HKEY raw = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &raw, nullptr);
    key_.Reset(raw);
    BYTE old[MAX_PATH * 2];
    DWORD size = sizeof old;
    had_ = RegQueryValueExA(raw, name, nullptr, &type_, old, &size) == ERROR_SUCCESS;
    if (had_) old_.assign(old, old + size);
    RegSetValueExA(raw, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  }
  ~RegistryValue() {
    if (had_)
      RegSetValueExA(key_.Get(), name_, 0, type_, old_.data(), static_cast<DWORD>(old_.size()));
    else
      RegDeleteValueA(key_.Get(), name_);
  }
  RegistryValue(const RegistryValue&) = delete;
  RegistryValue& operator=(const RegistryValue&) = delete;

 private:
  RegKey key_;
  const char* name_;
  bool had_ = false;
  DWORD type_ = REG_SZ;
  std::vector<BYTE> old_;
};

// The shell refreshes "Shell Folders" from "User Shell Folders", so the
// desktop is redirected in both.
struct DesktopRedirect {
  explicit DesktopRedirect(const std::string& folder)
      : shell("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop", folder),
        user("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Desktop", folder) {}
  RegistryValue shell, user;
};

TEST_F(CommandLineRun, ShortcutSwitchAloneMakesTheShortcutAndNothingElse) {
  TempFolder desktop;
  DesktopRedirect redirect(desktop.pathA());
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
