// Runs against the real registry of the Wine prefix, with a file type of its
// own so that nothing of the updater's ".quf" is touched.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/association/win32/file_association.h"
#include "ui/association/win32/registry_access.h"
#include "win32/files.h"

namespace qxu {
namespace {

constexpr wchar_t kType[] = L"QxTestFormat";
constexpr wchar_t kExt[] = L".qxtest";
constexpr wchar_t kUserClasses[] = L"Software\\Classes\\";

struct DefaultValue {
  bool present = false;
  DWORD type = 0;
  DWORD bytes = 0;
  std::wstring text;
};

DefaultValue ReadDefault(HKEY root, const std::wstring& path) {
  DefaultValue value;
  RegKey key;
  if (!OpenRegistryKey(key, root, path.c_str(), KEY_READ)) return value;
  wchar_t buffer[2048] = {};
  DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
  if (RegQueryValueExW(key.get(), nullptr, nullptr, &value.type, reinterpret_cast<BYTE*>(buffer),
                       &bytes) != ERROR_SUCCESS)
    return value;
  value.present = true;
  value.bytes = bytes;
  value.text = buffer;
  return value;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  RegKey key;
  return OpenRegistryKey(key, root, path.c_str(), KEY_READ);
}

void DeleteTree(HKEY root, const std::wstring& path) { RegDeleteTreeW(root, path.c_str()); }

class AssociationRegistry : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      DeleteTree(root, std::wstring(kUserClasses) + kExt);
      DeleteTree(root, std::wstring(kUserClasses) + kType);
    }
  }
  static std::wstring User(const std::wstring& tail) { return std::wstring(kUserClasses) + tail; }
  static int Register(const wchar_t* command, const wchar_t* caption = L"アップデート実行(&R)") {
    return RegisterAssociation(kType, L"QxUpdateアップデートファイル", caption, command, kExt,
                               L"C:\\Tools\\QxUpdate.exe", 1);
  }
};

TEST_F(AssociationRegistry, RegistrationWritesTheListedKeysAsStrings) {
  ASSERT_EQ(1, Register(L"C:\\Tools\\QxUpdate.exe"));

  struct Row {
    std::wstring path, value;
  } rows[] = {
      {kExt, kType},
      {kType, L"QxUpdateアップデートファイル"},
      {std::wstring(kType) + L"\\DefaultIcon", L"C:\\Tools\\QxUpdate.exe,1"},
      {std::wstring(kType) + L"\\shell", L"open"},
      {std::wstring(kType) + L"\\shell\\open", L"アップデート実行(&R)"},
      {std::wstring(kType) + L"\\shell\\open\\command", L"\"C:\\Tools\\QxUpdate.exe\" \"%1\""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    DefaultValue value = ReadDefault(HKEY_CURRENT_USER, User(row.path));
    ASSERT_TRUE(value.present);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type);
    EXPECT_EQ(row.value, value.text);
    EXPECT_EQ((row.value.size() + 1) * sizeof(wchar_t), value.bytes);
  }
}

TEST_F(AssociationRegistry, CommandForms) {
  // A command line that starts with a quote is written as it is.
  ASSERT_EQ(1, Register(L"\"C:\\Tools\\QxUpdate.exe\" -nc \"%1\""));
  EXPECT_EQ(L"\"C:\\Tools\\QxUpdate.exe\" -nc \"%1\"",
            ReadDefault(HKEY_CURRENT_USER, User(std::wstring(kType) + L"\\shell\\open\\command")).text);

  // No verb caption: the "open" key's default value is the empty text.
  ASSERT_EQ(1, Register(L"C:\\Tools\\QxUpdate.exe", nullptr));
  DefaultValue open = ReadDefault(HKEY_CURRENT_USER, User(std::wstring(kType) + L"\\shell\\open"));
  ASSERT_TRUE(open.present);
  EXPECT_EQ(L"", open.text);
  EXPECT_EQ(sizeof(wchar_t), open.bytes);
}

TEST_F(AssociationRegistry, OtherPlatformsGetShortPaths) {
  // A real file with a long name, so that the platform has a short form for it.
  qxtest::TempFolder folder(L"qxu-association");
  const std::wstring program = folder / L"Long Program Name QxUpdate.exe";
  ASSERT_TRUE(qxtest::WriteBytes(program, ""));
  wchar_t shortPath[MAX_PATH];
  ASSERT_NE(0u, GetShortPathNameW(program.c_str(), shortPath, MAX_PATH));
  ASSERT_NE(program, shortPath);

  EXPECT_EQ(1, RegisterAssociationForPlatform(VER_PLATFORM_WIN32_WINDOWS, kType, L"d", L"c",
                                              program.c_str(), kExt, program.c_str(), 1));
  EXPECT_EQ(std::wstring(shortPath) + L",1",
            ReadDefault(HKEY_CURRENT_USER, User(std::wstring(kType) + L"\\DefaultIcon")).text);
  EXPECT_EQ(L"\"" + std::wstring(shortPath) + L"\" \"%1\"",
            ReadDefault(HKEY_CURRENT_USER, User(std::wstring(kType) + L"\\shell\\open\\command")).text);
}

TEST_F(AssociationRegistry, OverlongTextsWriteNothing) {
  std::wstring command(1100, L'x');
  EXPECT_EQ(0, Register(command.c_str()));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, User(kExt)));
  std::wstring typeName(1100, L't');
  EXPECT_EQ(0, RegisterAssociation(typeName.c_str(), L"d", L"c", L"a.exe", kExt, L"a.exe", 1));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, User(kExt)));
}

TEST_F(AssociationRegistry, QueryFollowsRegistrationAndRemoval) {
  EXPECT_EQ(0, QueryAssociation(kType, kExt));
  ASSERT_EQ(1, Register(L"C:\\Tools\\QxUpdate.exe"));
  EXPECT_EQ(1, QueryAssociation(kType, kExt));
  EXPECT_EQ(0, QueryAssociation(nullptr, kExt));  // the type is what is asked about
  EXPECT_EQ(0, QueryAssociation(kType, L".qxother"));

  // The query checks the keys, not their values.
  RegKey ext;
  ASSERT_TRUE(CreateRegistryKey(ext, HKEY_CURRENT_USER, User(kExt).c_str()));
  SetDefaultText(ext, L"SomethingElse");
  ext.reset();
  EXPECT_EQ(1, QueryAssociation(kType, kExt));

  ASSERT_EQ(ERROR_SUCCESS,
            RegDeleteKeyW(HKEY_CURRENT_USER, User(std::wstring(kType) + L"\\shell\\open\\command").c_str()));
  EXPECT_EQ(0, QueryAssociation(kType, kExt));

  ASSERT_EQ(1, Register(L"C:\\Tools\\QxUpdate.exe"));
  EXPECT_EQ(1, RemoveAssociation(kType, kExt));
  EXPECT_EQ(0, QueryAssociation(kType, kExt));
}

TEST_F(AssociationRegistry, RemovalFromTheUsersClassesOnly) {
  ASSERT_EQ(1, Register(L"C:\\Tools\\QxUpdate.exe"));
  EXPECT_EQ(1, RemoveAssociation(kType, kExt));
  for (const wchar_t* path : {kExt, kType}) {
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, User(path))) << path;
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, path)) << path;
  }
}

TEST_F(AssociationRegistry, RemovalWithNothingRegistered) {
  EXPECT_EQ(0, RemoveAssociation(kType, kExt));
  EXPECT_EQ(0, RemoveAssociation(nullptr, kExt));
}

TEST_F(AssociationRegistry, RemovalFromTheMachineClasses) {
  // Registered for every user (HKEY_CLASSES_ROOT reads the machine's classes).
  RegKey ext, command;
  ASSERT_TRUE(CreateRegistryKey(ext, HKEY_LOCAL_MACHINE, User(kExt).c_str()));
  SetDefaultText(ext, kType);
  ASSERT_TRUE(CreateRegistryKey(command, HKEY_LOCAL_MACHINE,
                                User(std::wstring(kType) + L"\\shell\\open\\command").c_str()));
  ext.reset();
  command.reset();
  RegKey icon;
  ASSERT_TRUE(CreateRegistryKey(icon, HKEY_LOCAL_MACHINE,
                                User(std::wstring(kType) + L"\\DefaultIcon").c_str()));
  icon.reset();
  EXPECT_EQ(1, QueryAssociation(kType, kExt));

  EXPECT_EQ(1, RemoveAssociation(kType, kExt));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kExt));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kType));
  EXPECT_EQ(0, QueryAssociation(kType, kExt));
}

TEST_F(AssociationRegistry, RemovalKeepsATypeWithOtherVerbs) {
  // Keys are deleted bottom-up only along the path that registration makes;
  // a type that another program extended stays, and so does its verb.
  ASSERT_EQ(1, Register(L"C:\\Tools\\QxUpdate.exe"));
  RegKey edit;
  ASSERT_TRUE(CreateRegistryKey(edit, HKEY_CURRENT_USER,
                                User(std::wstring(kType) + L"\\shell\\edit\\command").c_str()));
  edit.reset();
  EXPECT_EQ(0, RemoveAssociation(kType, kExt));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, User(kExt)));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, User(std::wstring(kType) + L"\\shell\\edit\\command")));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, User(std::wstring(kType) + L"\\shell\\open")));
  EXPECT_EQ(0, QueryAssociation(kType, kExt));
}

}  // namespace
}  // namespace qxu
