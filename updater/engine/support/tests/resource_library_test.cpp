// Where the language resource library is looked for. The program's own folder
// comes first in the platform's search, so each case runs in a copy of this
// test program placed in a folder of its own, with the libraries laid out
// around a separate current folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/support/win32/file_handle.h"
#include "engine/support/win32/resource_library.h"

namespace qxu {
namespace {

constexpr wchar_t kChildVariable[] = L"QXU_SEARCH_EXPECT";

std::wstring ExePath() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

std::vector<char> ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::wstring& path, const std::vector<char>& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The built library with its internal name "QxUpdate.Jpn" changed to
// "QxUpdate.<tag>" (three characters), so a test can tell copies apart.
std::vector<char> TaggedLibrary(const wchar_t* tag) {
  std::vector<char> bytes = ReadAll(FolderOf(ExePath()) + L"QxUpdate.Jpn.dll");
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
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = std::wstring(temp) + L"qxu_search_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    for (const wchar_t* sub : {L"", L"app", L"parent", L"parent\\cur", L"parent\\cur\\PlugIn",
                               L"parent\\cur\\DLL"})
      CreateDirectoryW((root_ + sub).c_str(), nullptr);
    CopyFileW(ExePath().c_str(), (root_ + L"app\\search_child.exe").c_str(), FALSE);
  }
  void TearDown() override {
    std::wstring command = L"cmd /c rmdir /s /q \"" + root_ + L"\"";
    _wsystem(command.c_str());
  }

  void Place(const std::wstring& relative, const wchar_t* tag) {
    WriteAll(root_ + relative, TaggedLibrary(tag));
  }
  void PlaceBroken(const std::wstring& relative) {
    WriteAll(root_ + relative, std::vector<char>{'M', 'Z', 0, 0, 'n', 'o', 't', ' ', 'a', ' ', 'P', 'E'});
  }

  // Runs the child in parent\cur; true when it found the copy tagged expected.
  bool ChildFinds(const wchar_t* expected) {
    SetEnvironmentVariableW(kChildVariable, expected);
    std::wstring command = L"\"" + root_ + L"app\\search_child.exe\" --gtest_filter=ResourceLibraryChild.*";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        (root_ + L"parent\\cur").c_str(), &startup, &process);
    SetEnvironmentVariableW(kChildVariable, nullptr);
    if (!started) return false;
    FileHandle processHandle(process.hProcess), threadHandle(process.hThread);
    WaitForSingleObject(processHandle.get(), 60000);
    DWORD code = 1;
    GetExitCodeProcess(processHandle.get(), &code);
    return code == 0;
  }

  std::wstring root_;
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
