#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "engine/runrules/core/option_table.h"

using namespace qxu;

namespace {

// Description files held in memory; options recorded in order.
class MemoryHost : public OptionPassHost {
 public:
  std::map<std::wstring, std::vector<std::wstring>> files;
  std::vector<std::pair<OptionId, std::wstring>> applied;
  std::vector<std::wstring> settingFiles;
  int reads = 0;

  bool PathExists(const std::wstring& p) override { return files.count(p) != 0; }
  std::wstring FileKey(const std::wstring& p) override { return p; }
  std::vector<std::wstring> ReadDescription(const std::wstring& p) override {
    ++reads;
    return files[p];
  }
  void Apply(OptionId id, const std::wstring* v) override { applied.emplace_back(id, v ? *v : L"-"); }
  void NoteSettingFile(const std::wstring& p) override { settingFiles.push_back(p); }
};

class ItemCollector : public ItemPassHost {
 public:
  std::vector<std::wstring> items;
  int limitShown = 0;
  int ItemCount() override { return static_cast<int>(items.size()); }
  bool AddDownload(const std::wstring& item) override {
    items.push_back(item);
    return true;
  }
  bool AddDownloadPair(const std::wstring& url, const std::wstring& path) override {
    items.push_back(url + L"|" + path);
    return true;
  }
  void LimitReached(int limit) override { limitShown = limit; }
};

}  // namespace

TEST(OptionTable, BothFormsMatchExactlyAndCaseSensitively) {
  ASSERT_NE(FindOption(L"-ncu"), nullptr);
  EXPECT_EQ(FindOption(L"--no-check-update")->id, OptionId::NoCheckUpdate);
  EXPECT_EQ(FindOption(L"-pe")->id, OptionId::ProxyEncrypted);
  EXPECT_EQ(FindOption(L"--proxy-encryped")->id, OptionId::ProxyEncrypted);
  EXPECT_EQ(FindOption(L"--downloadpair")->values, 2);
  EXPECT_EQ(FindOption(L"-SL"), nullptr);
  EXPECT_EQ(FindOption(L"--silent "), nullptr);
  EXPECT_EQ(FindOption(L"-s"), nullptr);
}

TEST(OptionPass, DescriptionFileTokensComeLaterAndOverride) {
  MemoryHost host;
  host.files[L"a.quf"] = {L"--no-silent", L"-sf", L"b.quf"};
  host.files[L"b.quf"] = {L"-ps", L"proxy.example", L"-dl", L"http://x/y"};
  std::vector<std::wstring> args = {L"--silent", L"a.quf", L"-ni"};
  RunOptionPass(args, host);
  ASSERT_EQ(args.size(), 10u);
  EXPECT_EQ(args[3], L"--no-silent");
  EXPECT_EQ(args[9], L"http://x/y");
  ASSERT_EQ(host.applied.size(), 4u);
  EXPECT_EQ(host.applied[0].first, OptionId::Silent);
  EXPECT_EQ(host.applied[1].first, OptionId::NoInformation);
  EXPECT_EQ(host.applied[2].first, OptionId::NoSilent);
  EXPECT_EQ(host.applied[3], std::make_pair(OptionId::ProxyServer, std::wstring(L"proxy.example")));
  ASSERT_EQ(host.settingFiles.size(), 2u);
  EXPECT_EQ(host.settingFiles[0], L"a.quf");
}

TEST(OptionPass, SelfNamingFilesAreReadOnce) {
  MemoryHost host;
  host.files[L"loop.quf"] = {L"-sf", L"other.quf", L"-if"};
  host.files[L"other.quf"] = {L"loop.quf", L"-sf", L"other.quf"};
  std::vector<std::wstring> args = {L"loop.quf"};
  RunOptionPass(args, host);
  EXPECT_EQ(host.reads, 2);
  EXPECT_EQ(args.size(), 7u);
}

TEST(OptionPass, ValueAtTheEndEndsThePass) {
  MemoryHost host;
  std::vector<std::wstring> args = {L"-ps", L"p", L"-pp"};
  RunOptionPass(args, host);
  ASSERT_EQ(host.applied.size(), 1u);
  EXPECT_EQ(host.applied[0].first, OptionId::ProxyServer);

  MemoryHost h2;
  std::vector<std::wstring> a2 = {L"-sf"};
  RunOptionPass(a2, h2);
  EXPECT_TRUE(h2.settingFiles.empty());

  // A pair without its local path, or a download without its item, ends it too.
  for (const std::vector<std::wstring>& tail : {std::vector<std::wstring>{L"-cf", L"-dp", L"http://h/f"},
                                                std::vector<std::wstring>{L"-cf", L"--download"}}) {
    MemoryHost h;
    h.files[L"http://h/f"] = {L"-sl"};
    std::vector<std::wstring> a = tail;
    RunOptionPass(a, h);
    EXPECT_EQ(h.applied, (std::vector<std::pair<OptionId, std::wstring>>{{OptionId::Confirm, L"-"}}));
    EXPECT_EQ(h.reads, 0);
  }
}

TEST(OptionPass, DownloadValuesAreNeverReadAsDescriptionFiles) {
  MemoryHost host;
  host.files[L"C:\\data\\a.txt"] = {L"-sl"};
  host.files[L"C:\\data\\b.quf"] = {L"-cf"};
  host.files[L"C:\\data\\c.quf"] = {L"-ni"};
  std::vector<std::wstring> args = {L"-dp", L"http://h/a.txt", L"C:\\data\\a.txt", L"--delete-setting",
                                    L"-dl", L"C:\\data\\b.quf", L"--downloadpair", L"C:\\data\\c.quf",
                                    L"C:\\data\\b.quf", L"-if"};
  RunOptionPass(args, host);
  EXPECT_EQ(host.reads, 0);
  EXPECT_TRUE(host.settingFiles.empty());
  EXPECT_EQ(args.size(), 10u);
  EXPECT_EQ(host.applied, (std::vector<std::pair<OptionId, std::wstring>>{{OptionId::DeleteSetting, L"-"},
                                                                          {OptionId::Information, L"-"}}));
  // An option word as a value is a value too, as the second pass takes it.
  MemoryHost h2;
  std::vector<std::wstring> a2 = {L"-dl", L"-sl", L"-dp", L"-cf", L"-ni", L"-nc"};
  RunOptionPass(a2, h2);
  EXPECT_EQ(h2.applied, (std::vector<std::pair<OptionId, std::wstring>>{{OptionId::NoConfirm, L"-"}}));
}

TEST(ItemPass, DownloadsAndPairsInOrder) {
  ItemCollector items;
  RunItemPass({L"-dl", L"http://h/a;C:\\a", L"junk", L"--downloadpair", L"http://h/b", L"C:\\b", L"-dl"}, items);
  ASSERT_EQ(items.items.size(), 2u);
  EXPECT_EQ(items.items[0], L"http://h/a;C:\\a");
  EXPECT_EQ(items.items[1], L"http://h/b|C:\\b");
  EXPECT_EQ(items.limitShown, 0);
}

TEST(ItemPass, StopsAtTheLimitAndSaysSo) {
  std::vector<std::wstring> args;
  for (int i = 0; i < 1005; ++i) {
    args.push_back(L"-dl");
    args.push_back(L"http://h/f" + std::to_wstring(i));
  }
  ItemCollector items;
  RunItemPass(args, items);
  EXPECT_EQ(items.items.size(), 1000u);
  EXPECT_EQ(items.items.back(), L"http://h/f999");
  EXPECT_EQ(items.limitShown, 1000);

  ItemCollector exact;
  args.resize(2000);
  RunItemPass(args, exact);
  EXPECT_EQ(exact.limitShown, 1000);
}
