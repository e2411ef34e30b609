// The setting file on the platform's private-profile functions under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/support/core/owned_string.h"
#include "engine/support/core/password_scrambler.h"
#include "engine/identity/win32/program_identity.h"
#include "engine/settings/win32/first_run.h"
#include "engine/settings/win32/settings_file.h"
#include "win32/files.h"
#include "win32/processes.h"

namespace qxu {
namespace {

using qxtest::UserName;

// Wine reports every regular file as archive, whatever was set; the hidden
// and read-only bits are the ones it keeps.
DWORD KeptAttributes(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE);
}

struct Options : SettingsOptions {
  SettingsOptions& Fields() { return *this; }
};

// Scripted answers for the first-run questions; records what was asked.
struct Script {
  std::vector<int> answers;
  std::vector<std::wstring> asked;
  std::vector<UINT> types;
  std::vector<std::wstring> captions;
  int associations = 0;
  int proxyDialogs = 0;

  FirstRunHooks Hooks() {
    FirstRunHooks hooks;
    hooks.context = this;
    hooks.messageBox = [](const wchar_t* text, const wchar_t* caption, UINT type, void* context) {
      Script* s = static_cast<Script*>(context);
      s->asked.emplace_back(text);
      s->captions.emplace_back(caption);
      s->types.push_back(type);
      if ((type & 0xF) == MB_OK) return IDOK;
      const std::size_t n = s->asked.size() - 1 - s->Informations();
      return n < s->answers.size() ? s->answers[n] : IDNO;
    };
    hooks.registerAssociation = [](ProgramIdentity*, void* context) {
      ++static_cast<Script*>(context)->associations;
      return 1;
    };
    hooks.showProxyDialog = [](void* context) {
      ++static_cast<Script*>(context)->proxyDialogs;
      return 1;
    };
    return hooks;
  }
  std::size_t Informations() const {
    std::size_t n = 0;
    for (UINT t : types)
      if ((t & 0xF) == MB_OK) ++n;
    return n;
  }
};

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    identity_.reset(MakeIdentity(folder_, L"QxUpdate"));
    ASSERT_NE(identity_, nullptr);
  }

  static ProgramIdentity* MakeIdentity(const std::wstring& folder, const wchar_t* base) {
    ProgramIdentity* identity = CreateIdentity();
    if (!identity) return nullptr;
    SetQxUpdateIdentity(identity);
    identity->programFolder = ReplaceString(identity->programFolder, folder.c_str());
    identity->baseName = ReplaceString(identity->baseName, base);
    return identity;
  }

  std::wstring Path() { return GetSettingFilePath(identity_.get(), 1); }

  void WriteFileText(const std::string& text) {
    std::ofstream out(Path().c_str(), std::ios::binary);
    out << text;
  }
  std::string FileText() {
    std::ifstream in(Path().c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::wstring Value(const wchar_t* section, const wchar_t* key) {
    wchar_t text[1024];
    GetPrivateProfileStringW(section, key, L"(missing)", text, 1024, Path().c_str());
    return text;
  }

  int Load(UpdaterSettings* settings, Options* options, Script* script) {
    return LoadUpdaterSettings(identity_.get(), settings, options->Fields(), script->Hooks());
  }

  qxtest::TempFolder temp_{L"qxu_settings"};
  const std::wstring folder_ = temp_.path() + L"\\";
  IdentityOwner identity_;  // goes before its folder
};

TEST_F(SettingsFile, PerUserFileNextToTheProgramAndFixedForTheRun) {
  const std::wstring user = UserName();
  ASSERT_FALSE(user.empty());
  EXPECT_EQ(Path(), folder_ + L"QxUpdate-" + user + L".ini");
  // Later requests return the first result, whatever they ask for.
  EXPECT_EQ(std::wstring(GetSettingFilePath(identity_.get(), 0)), Path());
  // No probe file stays behind.
  EXPECT_EQ(GetFileAttributesW((folder_ + L"__qxseries_check_writable.txt").c_str()), INVALID_FILE_ATTRIBUTES);

  IdentityOwner tools(MakeIdentity(folder_, L"Tools"));
  EXPECT_EQ(std::wstring(GetSettingFilePath(tools.get(), 1)), folder_ + L"Tools-" + user + L".ini");
  IdentityOwner shared(MakeIdentity(folder_, L"QxUpdate"));
  EXPECT_EQ(std::wstring(GetSettingFilePath(shared.get(), 0)), folder_ + L"QxUpdate.ini");
}

TEST_F(SettingsFile, UnwritableProgramFolderUsesThePerUserDataFolderWithoutUserName) {
  IdentityOwner moved(MakeIdentity(folder_ + L"missing\\", L"QxUpdate"));
  moved->appDataFolder = ReplaceString(moved->appDataFolder, (folder_ + L"appdata").c_str());
  CreateDirectoryW((folder_ + L"appdata").c_str(), nullptr);
  EXPECT_EQ(std::wstring(GetSettingFilePath(moved.get(), 1)),
            folder_ + L"appdata\\QxSeries\\QxUpdate\\QxUpdate.ini");
  const DWORD made = GetFileAttributesW((folder_ + L"appdata\\QxSeries\\QxUpdate").c_str());
  ASSERT_NE(made, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(made & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(SettingsFile, SaveWritesEveryValueAndHidesTheFileEachTime) {
  UpdaterSettings settings;
  settings.lastCheck = {2026, 12, 7, 14, 5, 9};
  settings.confirmWindowX = -1000;
  settings.confirmWindowY = 100;
  settings.confirmWindowWidth = 400;
  settings.confirmWindowHeight = 600;
  settings.downloadWindowX = 10;
  settings.downloadWindowY = 20;
  settings.downloadWindowWidth = 30;
  settings.downloadWindowHeight = 40;
  settings.autoUpdate = 1;
  Options options;
  options.information = 0;
  options.proxyUserUse = 1;
  options.proxyUser = L"alice";
  wchar_t scrambled[64];
  ASSERT_EQ(ScramblePassword(L"Secret12", scrambled, 64), 1);
  options.proxyPasswordScrambled = scrambled;
  options.proxyPassword = L"Secret12";
  ASSERT_EQ(SaveUpdaterSettings(identity_.get(), &settings, options.Fields(), 0), 1);

  EXPECT_EQ(KeptAttributes(Path()), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  const wchar_t* s = L"QxUpdate";
  EXPECT_EQ(Value(s, L"Version"), L"Version 1.10.01");
  EXPECT_EQ(Value(s, L"ProxyUserUse"), L"1");
  EXPECT_EQ(Value(s, L"ProxyUsername"), L"alice");
  EXPECT_EQ(Value(s, L"ProxyUserPassword"), scrambled);
  EXPECT_EQ(Value(s, L"LastCheck"), L"2026/12/07 14:05:09");
  EXPECT_EQ(Value(s, L"ConfirmWindowX"), L"-1000");
  EXPECT_EQ(Value(s, L"ConfirmWindowY"), L"100");
  EXPECT_EQ(Value(s, L"ConfirmWindowWidth"), L"400");
  EXPECT_EQ(Value(s, L"ConfirmWindowHeight"), L"600");
  EXPECT_EQ(Value(s, L"DownloadWindowX"), L"10");
  EXPECT_EQ(Value(s, L"DownloadWindowY"), L"20");
  EXPECT_EQ(Value(s, L"DownloadWindowWidth"), L"30");
  EXPECT_EQ(Value(s, L"DownloadWindowHeight"), L"40");
  EXPECT_EQ(Value(s, L"AutoUpdate"), L"1");
  EXPECT_EQ(Value(s, L"Information"), L"0");
  const std::string file = FileText();
  EXPECT_EQ(file.find("Secret12"), std::string::npos) << "plain password written";
  EXPECT_EQ(file.find(std::string("S\0e\0c\0r\0e\0t\0", 12)), std::string::npos) << "plain password written";

  // A second save rewrites the hidden file; read-only and archive go too.
  SetFileAttributesW(Path().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  settings.confirmWindowX = 250;
  options.proxyUser.clear();
  ASSERT_EQ(SaveUpdaterSettings(identity_.get(), &settings, options.Fields(), 0), 1);
  EXPECT_EQ(Value(s, L"ConfirmWindowX"), L"250");
  EXPECT_EQ(Value(s, L"ProxyUserName"), L"(missing)");
  EXPECT_EQ(KeptAttributes(Path()), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(SettingsFile, ProxyUserNameOutsideTheAnsiCodePageSurvives) {
  UpdaterSettings settings;
  Options options;
  options.proxyUser = L"J\u00FCrgen \u03A9mega \u30E6\u30FC\u30B6";
  ASSERT_EQ(SaveUpdaterSettings(identity_.get(), &settings, options.Fields(), 0), 1);
  EXPECT_EQ(FileText().substr(0, 2), "\xFF\xFE");
  Options loaded;
  Script script;
  Load(&settings, &loaded, &script);
  EXPECT_TRUE(script.asked.empty());
  ASSERT_FALSE(loaded.proxyUser.empty());
  EXPECT_EQ(loaded.proxyUser, options.proxyUser);
}

TEST_F(SettingsFile, StampingSetsLastCheckToNow) {
  UpdaterSettings settings;
  Options options;
  SYSTEMTIME before{};
  GetLocalTime(&before);
  ASSERT_EQ(SaveUpdaterSettings(identity_.get(), &settings, options.Fields(), 1), 1);
  EXPECT_EQ(settings.lastCheck.year, before.wYear);
  EXPECT_EQ(settings.lastCheck.month, before.wMonth);
  EXPECT_NE(Value(L"QxUpdate", L"LastCheck"), L"0000/00/00 00:00:00");
  UpdaterSettings never;
  ASSERT_EQ(SaveUpdaterSettings(identity_.get(), &never, options.Fields(), 0), 1);
  EXPECT_EQ(Value(L"QxUpdate", L"LastCheck"), L"0000/00/00 00:00:00");
}

TEST_F(SettingsFile, LegacySectionIsReadAndKeptAfterTheNextSave) {
  WriteFileText(
      "[QxSeries QxUpdate]\r\nLastCheck=2013/1/5 7:08:09\r\nConfirmWindowWidth=321\r\n"
      "AutoUpdate=1\r\nProxyUserName=bob\r\nInformation=0\r\n");
  UpdaterSettings settings;
  Options options;
  Script script;
  ASSERT_EQ(Load(&settings, &options, &script), 1);
  EXPECT_TRUE(script.asked.empty());
  EXPECT_EQ(settings.lastCheck.year, 2013);
  EXPECT_EQ(settings.lastCheck.month, 1);
  EXPECT_EQ(settings.lastCheck.day, 5);
  EXPECT_EQ(settings.lastCheck.hour, 7);
  EXPECT_EQ(settings.lastCheck.minute, 8);
  EXPECT_EQ(settings.lastCheck.second, 9);
  EXPECT_EQ(settings.confirmWindowWidth, 321);
  EXPECT_EQ(settings.confirmWindowX, 100);  // default
  EXPECT_EQ(settings.autoUpdate, 1);
  EXPECT_EQ(options.information, 0);
  ASSERT_FALSE(options.proxyUser.empty());
  EXPECT_EQ(options.proxyUser, L"bob");

  ASSERT_EQ(SaveUpdaterSettings(identity_.get(), &settings, options.Fields(), 0), 1);
  EXPECT_EQ(Value(L"QxUpdate", L"LastCheck"), L"2013/01/05 07:08:09");
  EXPECT_EQ(Value(L"QxUpdate", L"ConfirmWindowWidth"), L"321");
  EXPECT_EQ(Value(L"QxSeries QxUpdate", L"ConfirmWindowWidth"), L"321");
  EXPECT_EQ(Value(L"QxSeries QxUpdate", L"LastCheck"), L"2013/1/5 7:08:09");
}

TEST_F(SettingsFile, SectionWithoutLastCheckTakesEveryKeyFromTheLegacySection) {
  WriteFileText(
      "[QxUpdate]\r\nConfirmWindowX=11\r\nAutoUpdate=1\r\nInformation=0\r\n"
      "[QxSeries QxUpdate]\r\nLastCheck=2012/02/03 04:05:06\r\nConfirmWindowX=22\r\n");
  UpdaterSettings settings;
  Options options;
  Script script;
  Load(&settings, &options, &script);
  EXPECT_EQ(settings.lastCheck.year, 2012);
  EXPECT_EQ(settings.confirmWindowX, 22);
  EXPECT_EQ(settings.autoUpdate, 0);  // the QxUpdate section's 1 is not read
  EXPECT_EQ(options.information, 1);
}

TEST_F(SettingsFile, WindowKeysOverrideAndAreDroppedOnTheNextSave) {
  WriteFileText(
      "[QxUpdate]\r\nLastCheck=2026/12/07 14:05:09\r\nConfirmWindowWidth=300\r\nWindowWidth=500\r\n"
      "WindowX=-40\r\nConfirmWindowHeight=250\r\n");
  UpdaterSettings settings;
  Options options;
  Script script;
  Load(&settings, &options, &script);
  EXPECT_EQ(settings.confirmWindowWidth, 500);
  EXPECT_EQ(settings.confirmWindowX, -40);
  EXPECT_EQ(settings.confirmWindowHeight, 250);  // no WindowHeight: the value just read
  EXPECT_EQ(settings.confirmWindowY, 100);
  SaveUpdaterSettings(identity_.get(), &settings, options.Fields(), 0);
  EXPECT_EQ(Value(L"QxUpdate", L"ConfirmWindowWidth"), L"500");
  EXPECT_EQ(Value(L"QxUpdate", L"WindowWidth"), L"(missing)");
  EXPECT_EQ(Value(L"QxUpdate", L"WindowX"), L"(missing)");
}

TEST_F(SettingsFile, DateWithoutTimeLeavesLastCheckAlone) {
  WriteFileText("[QxUpdate]\r\nLastCheck=2013/01/05\r\nAutoUpdate=1\r\n");
  UpdaterSettings settings;
  Options options;
  Script script;
  Load(&settings, &options, &script);
  EXPECT_EQ(settings.lastCheck.year, 0);
  EXPECT_EQ(settings.lastCheck.day, 0);
  EXPECT_EQ(settings.autoUpdate, 1);  // the section itself was used: LastCheck was not empty
}

TEST_F(SettingsFile, PasswordIsUnscrambledAndABrokenOneGivesNoPlainPassword) {
  wchar_t scrambled[64];
  ASSERT_EQ(ScramblePassword(L"proxy-pass!", scrambled, 64), 1);
  std::string line = "[QxUpdate]\r\nLastCheck=2026/12/07 14:05:09\r\nProxyUserPassword=";
  for (const wchar_t* p = scrambled; *p; ++p) line += static_cast<char>(*p);
  WriteFileText(line + "\r\n");
  UpdaterSettings settings;
  Options options;
  Script script;
  Load(&settings, &options, &script);
  ASSERT_FALSE(options.proxyPassword.empty());
  EXPECT_EQ(options.proxyPassword, L"proxy-pass!");
  EXPECT_EQ(options.proxyPasswordScrambled, scrambled);

  WriteFileText("[QxUpdate]\r\nLastCheck=2026/12/07 14:05:09\r\nProxyUserPassword=plainpassword\r\n");
  Options broken;
  broken.proxyPassword = L"stale";
  Load(&settings, &broken, &script);
  EXPECT_EQ(broken.proxyPassword, L"");
  EXPECT_EQ(broken.proxyPasswordScrambled, L"plainpassword");
}

TEST_F(SettingsFile, FirstRunNoStillWritesTheDefaultsOnce) {
  UpdaterSettings settings;
  Options options;
  Script script;
  script.answers = {IDNO};
  ASSERT_EQ(Load(&settings, &options, &script), 1);
  ASSERT_EQ(script.asked.size(), 1u);
  EXPECT_EQ(script.asked[0], kFirstRunWelcome);
  EXPECT_EQ(script.captions[0], L"QxUpdate");
  EXPECT_EQ(script.types[0], static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(KeptAttributes(Path()), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(Value(L"QxUpdate", L"ConfirmWindowWidth"), L"400");
  EXPECT_EQ(Value(L"QxUpdate", L"Information"), L"1");
  EXPECT_EQ(Value(L"QxUpdate", L"LastCheck"), L"0000/00/00 00:00:00");

  Script again;
  Load(&settings, &options, &again);
  EXPECT_TRUE(again.asked.empty());
}

TEST_F(SettingsFile, FirstRunYesAsksEveryQuestionAndAppliesTheAnswers) {
  UpdaterSettings settings;
  Options options;
  Script script;
  script.answers = {IDYES, IDYES, IDYES, IDNO, IDYES};
  Load(&settings, &options, &script);
  ASSERT_EQ(script.asked.size(), 6u);
  EXPECT_EQ(script.asked[0], kFirstRunWelcome);
  EXPECT_EQ(script.asked[1], kFirstRunAssociate);
  EXPECT_EQ(script.asked[2], L"関連付けしました");
  EXPECT_EQ(script.types[2], static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(script.asked[3], kFirstRunProxy);
  EXPECT_EQ(script.asked[4], kFirstRunInformation);
  EXPECT_EQ(script.asked[5], kFirstRunAutoUpdate);
  EXPECT_EQ(script.associations, 1);
  EXPECT_EQ(script.proxyDialogs, 1);
  EXPECT_EQ(options.information, 0);
  EXPECT_EQ(settings.autoUpdate, 1);
  EXPECT_EQ(Value(L"QxUpdate", L"Information"), L"0");
  EXPECT_EQ(Value(L"QxUpdate", L"AutoUpdate"), L"1");
}

TEST_F(SettingsFile, FirstRunAnsweringNoToTheOptionalStepsSkipsThem) {
  UpdaterSettings settings;
  Options options;
  Script script;
  script.answers = {IDYES, IDNO, IDNO, IDYES, IDNO};
  Load(&settings, &options, &script);
  EXPECT_EQ(script.asked.size(), 5u);
  EXPECT_EQ(script.associations, 0);
  EXPECT_EQ(script.proxyDialogs, 0);
  EXPECT_EQ(options.information, 1);
  EXPECT_EQ(settings.autoUpdate, 0);
}

}  // namespace
}  // namespace qxu
