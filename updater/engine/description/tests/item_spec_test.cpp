#include <gtest/gtest.h>

#include <string>

#include "engine/description/core/item_spec.h"

namespace qxu {
namespace {

struct SplitResult {
  int ok;
  std::wstring folder, name, local;
};

SplitResult Split(const std::wstring& item) {
  wchar_t folder[1024] = L"f", name[1024] = L"n", local[1024] = L"l";
  SplitResult r;
  r.ok = SplitItemSpec(item.c_str(), folder, 1024, name, 1024, local, 1024);
  r.folder = folder;
  r.name = name;
  r.local = local;
  return r;
}

TEST(SplitItemSpec, UrlAndLocalPath) {
  const SplitResult r = Split(L"https://host/app/tool.exe;C:\\Program Files\\Tool\\tool.exe");
  EXPECT_EQ(r.ok, 1);
  EXPECT_EQ(r.folder, L"https://host/app/");
  EXPECT_EQ(r.name, L"tool.exe");
  EXPECT_EQ(r.local, L"C:\\Program Files\\Tool\\tool.exe");
}

TEST(SplitItemSpec, OnlyTheFirstSemicolonSeparates) {
  const SplitResult r = Split(L"http://h/a/b.txt;C:\\x;y\\b.txt");
  EXPECT_EQ(r.name, L"b.txt");
  EXPECT_EQ(r.local, L"C:\\x;y\\b.txt");
  // A "/" in the local path does not move the file name.
  EXPECT_EQ(Split(L"http://h/a/b.txt;sub/dir").name, L"b.txt");
}

TEST(SplitItemSpec, NoSlashGivesTheWholeUrlPartTwice) {
  const SplitResult r = Split(L"tool.exe");
  EXPECT_EQ(r.folder, L"tool.exe");
  EXPECT_EQ(r.name, L"tool.exe");
  EXPECT_EQ(r.local, L"");
}

TEST(SplitItemSpec, UrlEndingInSlashHasAnEmptyFileName) {
  const SplitResult r = Split(L"http://h/app/");
  EXPECT_EQ(r.ok, 1);
  EXPECT_EQ(r.folder, L"http://h/app/");
  EXPECT_EQ(r.name, L"");
  wchar_t path[64];
  ASSERT_EQ(MakeItemLocalPath(r.local.c_str(), L"C:\\Start", r.name.c_str(), path, 64), 1);
  EXPECT_STREQ(path, L"C:\\Start\\");
}

TEST(SplitItemSpec, EmptySpecLeavesTheOutputsUntouched) {
  const SplitResult r = Split(L"");
  EXPECT_EQ(r.ok, 0);
  EXPECT_EQ(r.folder, L"f");
  EXPECT_EQ(r.name, L"n");
  EXPECT_EQ(r.local, L"l");
  wchar_t folder[8], name[8];
  EXPECT_EQ(SplitItemSpec(L"http://h/x;y", folder, 8, name, 8, nullptr, 0), 0);  // folder too long
  EXPECT_EQ(SplitItemSpec(L"h/x;local", folder, 8, name, 8, nullptr, 0), 1);     // no local path wanted
  EXPECT_STREQ(folder, L"h/");
}

TEST(ItemMapping, DownloadUrlJoinsFolderAndNameUpTo1023Characters) {
  wchar_t url[2048];
  ASSERT_EQ(MakeDownloadUrl(L"http://h/app/", L"tool.exe", url, 2048), 1);
  EXPECT_STREQ(url, L"http://h/app/tool.exe");
  // Without "/" the url part repeats and can pass the limit: refused, not cut.
  const std::wstring half(600, L'a');
  EXPECT_EQ(MakeDownloadUrl(half.c_str(), half.c_str(), url, 2048), 0);
  EXPECT_STREQ(url, L"");
  const std::wstring folder(1023 - 4, L'f');
  EXPECT_EQ(MakeDownloadUrl(folder.c_str(), L"a.gz", url, 2048), 1);
  EXPECT_EQ(MakeDownloadUrl(folder.c_str(), L"ab.gz", url, 2048), 0);
  EXPECT_EQ(MakeDownloadUrl(L"http://h/", L"tool.exe", url, 10), 0);
}

TEST(ItemMapping, SecureSchemeInAnyLetterCase) {
  EXPECT_EQ(IsSecureUrl(L"https://h/x"), 1);
  EXPECT_EQ(IsSecureUrl(L"HTTPS://h/x"), 1);
  EXPECT_EQ(IsSecureUrl(L"hTtPs:x"), 1);
  EXPECT_EQ(IsSecureUrl(L"http://h/x"), 0);
  EXPECT_EQ(IsSecureUrl(L"https"), 0);
  EXPECT_EQ(IsSecureUrl(nullptr), 0);
}

TEST(ItemMapping, LocalPathOrStartFolderAndFileName) {
  wchar_t path[64];
  ASSERT_EQ(MakeItemLocalPath(L"readme.txt", L"C:\\Start", L"other.txt", path, 64), 1);
  EXPECT_STREQ(path, L"readme.txt");
  ASSERT_EQ(MakeItemLocalPath(L"", L"C:\\Start", L"tool.exe", path, 64), 1);
  EXPECT_STREQ(path, L"C:\\Start\\tool.exe");
  ASSERT_EQ(MakeItemLocalPath(nullptr, L"C:\\Start", L"tool.exe", path, 64), 1);
  EXPECT_STREQ(path, L"C:\\Start\\tool.exe");
  EXPECT_EQ(MakeItemLocalPath(nullptr, L"C:\\Start", L"tool.exe", path, 17), 0);
}

}  // namespace
}  // namespace qxu
