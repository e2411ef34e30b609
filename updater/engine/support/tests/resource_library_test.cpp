// Where the language resource library is looked for. The program's own folder
// comes first in the platform's search, so each case runs in a copy of this
// test program placed in a folder of its own, with the libraries laid out
// around a separate current folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/support/win32/resource_library.h"
#include "win32/files.h"
#include "win32/processes.h"

namespace qxu {
namespace {

constexpr wchar_t kChildVariable[] = L"QXU_SEARCH_EXPECT";

std::wstring ExePath() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// The built library with its internal name "QxUpdate.Jpn" changed to
// "QxUpdate.<tag>" (three characters), so a test can tell copies apart.
std::string TaggedLibrary(const wchar_t* tag) {
  std::string bytes = qxtest::ReadBytes(qxtest::ProgramFolder() + L"QxUpdate.Jpn.dll");
  const std::wstring from = L"QxUpdate.Jpn";
  std::wstring to = L"QxUpdate.";
  to += tag;
  const char* f = reinterpret_cast<const char*>(from.c_str());
  const std::size_t n = from.size() * sizeof(wchar_t);
  for (std::size_t i = 0; i + n <= bytes.size(); ++i)
    if (std::equal(f, f + n, bytes.begin() + i))
      std::copy_n(reinterpret_cast<const char*>(to.c_str()), n, bytes.begin() + i);
  return bytes;
}

// The tag found in the loaded module's version resource, or "none".
std::wstring TagOf(HMODULE module) {
  if (!module) return L"none";
  HRSRC version = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
  if (!version) return L"no version";
  const wchar_t* data = static_cast<const wchar_t*>(LockResource(LoadResource(module, version)));
  const std::wstring text(data, SizeofResource(module, version) / sizeof(wchar_t));
  const std::size_t at = text.find(L"QxUpdate.");
  return at == std::wstring::npos ? L"untagged" : text.substr(at + 9, 3);
}

// Runs in the copied program: loads the library and compares with the tag.
TEST(ResourceLibraryChild, LoadsTheExpectedCopy) {
  wchar_t expected[16] = L"";
  if (!GetEnvironmentVariableW(kChildVariable, expected, 16)) GTEST_SKIP() << "runs as a child only";
  ModuleHandle module(LoadLanguageResourceLibrary());
  EXPECT_EQ(TagOf(module.get()), expected);
}

class ResourceLibrarySearch : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* sub : {L"", L"app", L"parent", L"parent\\cur", L"parent\\cur\\PlugIn",
                               L"parent\\cur\\DLL"})
      CreateDirectoryW((root_ + sub).c_str(), nullptr);
    CopyFileW(ExePath().c_str(), (root_ + L"app\\search_child.exe").c_str(), FALSE);
  }

  void Place(const std::wstring& relative, const wchar_t* tag) {
    qxtest::WriteBytes(root_ + relative, TaggedLibrary(tag));
  }
  void PlaceBroken(const std::wstring& relative) {
    qxtest::WriteBytes(root_ + relative, std::string("MZ\0\0not a PE", 12));
  }

  // Runs the child in parent\cur; true when it found the copy tagged expected.
  bool ChildFinds(const wchar_t* expected) {
    SetEnvironmentVariableW(kChildVariable, expected);
    const int code = qxtest::RunProcess(root_ + L"app\\search_child.exe", L"--gtest_filter=ResourceLibraryChild.*",
                                        root_ + L"parent\\cur");
    SetEnvironmentVariableW(kChildVariable, nullptr);
    return code == 0;
  }

  qxtest::TempFolder folder_{L"qxu_search"};
  const std::wstring root_ = folder_.path() + L"\\";
};

TEST_F(ResourceLibrarySearch, EnglishLibraryInTheParentFolderAfterEveryJapanesePlace) {
  PlaceBroken(L"parent\\cur\\QxUpdate.Jpn.dll");
  PlaceBroken(L"parent\\cur\\PlugIn\\QxUpdate.Jpn.dll");
  PlaceBroken(L"parent\\cur\\DLL\\QxUpdate.Jpn.dll");
  Place(L"parent\\QxUpdate.Eng.dll", L"Eng");
  EXPECT_TRUE(ChildFinds(L"Eng"));
}

TEST_F(ResourceLibrarySearch, AllPlacesOfOneNameComeBeforeTheNextName) {
  Place(L"parent\\cur\\QxUpdate.Eng.dll", L"Eng");
  Place(L"parent\\QxUpdate.Jpn.dll", L"Par");
  EXPECT_TRUE(ChildFinds(L"Par"));
}

TEST_F(ResourceLibrarySearch, PlacesInOrder) {
  Place(L"parent\\QxUpdate.Jpn.dll", L"Par");
  Place(L"parent\\cur\\DLL\\QxUpdate.Jpn.dll", L"DLL");
  EXPECT_TRUE(ChildFinds(L"DLL"));
  Place(L"parent\\cur\\PlugIn\\QxUpdate.Jpn.dll", L"PIn");
  EXPECT_TRUE(ChildFinds(L"PIn"));
  Place(L"parent\\cur\\QxUpdate.Jpn.dll", L"Cur");
  EXPECT_TRUE(ChildFinds(L"Cur"));
}

TEST_F(ResourceLibrarySearch, ThirdNameAndNothingAtAll) {
  EXPECT_TRUE(ChildFinds(L"none"));
  Place(L"parent\\cur\\DLL\\QxUpdateResource.dll", L"Res");
  EXPECT_TRUE(ChildFinds(L"Res"));
}

TEST(ResourceLibrary, MissingOrEmptyNameLoadsNothing) {
  EXPECT_EQ(LoadResourceLibrary(nullptr), nullptr);
  EXPECT_EQ(LoadResourceLibrary(L""), nullptr);
  EXPECT_EQ(LoadResourceLibrary(L"QxNoSuchLibrary.dll"), nullptr);
}

}  // namespace
}  // namespace qxu
