#include <cwchar>
#include <cwctype>
#include <memory>
#include <new>

#include "engine/description/core/argument_split.h"
#include "engine/description/core/item_spec.h"
#include "engine/description/win32/description_file.h"
#include "engine/support/core/owned_string.h"
#include "engine/runrules/core/option_table.h"
#include "engine/run/win32/update_run.h"
#include "engine/startup/win32/updater_process.h"

namespace qxu {

namespace {

std::vector<std::wstring> TokensOf(wchar_t** list, int count) {
  std::vector<std::wstring> tokens;
  for (int i = 0; list && i < count && list[i]; ++i) tokens.emplace_back(list[i]);
  return tokens;
}

class OptionApplier : public OptionPassHost {
 public:
  explicit OptionApplier(UpdateOptions& o) : o_(o) {}

  bool PathExists(const std::wstring& path) override {
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  std::wstring FileKey(const std::wstring& path) override {
    wchar_t full[8192];
    const DWORD n = GetFullPathNameW(path.c_str(), 8192, full, nullptr);
    std::wstring key = (n > 0 && n < 8192) ? full : path;
    for (auto& c : key) c = static_cast<wchar_t>(towlower(c));
    return key;
  }
  std::vector<std::wstring> ReadDescription(const std::wstring& path) override {
    int count = 0;
    OwnedStringList list(ReadDescriptionFile(path.c_str(), &count));
    return TokensOf(list.get(), count);
  }
  void NoteSettingFile(const std::wstring& path) override {
    if (o_.settingFile.empty()) o_.settingFile = path;
  }
  void Apply(OptionId id, const std::wstring* value) override {
    const std::wstring v = value ? *value : std::wstring();
    switch (id) {
      case OptionId::Silent: o_.silent = true; o_.information = 0; break;
      case OptionId::NoSilent: o_.silent = false; break;
      case OptionId::Information: o_.information = 1; break;
      case OptionId::NoInformation: o_.information = 0; break;
      case OptionId::ForceUpdate: o_.forceUpdate = true; break;
      case OptionId::NoForceUpdate: o_.forceUpdate = false; break;
      case OptionId::NoCheckUpdate: o_.noCheckUpdate = true; break;
      case OptionId::OwnUpdate: o_.ownUpdate = true; break;
      case OptionId::DeleteSetting: o_.deleteSetting = true; break;
      case OptionId::Confirm: o_.confirm = true; break;
      case OptionId::NoConfirm: o_.confirm = false; break;
      case OptionId::ProxyNotUse: o_.proxyNotUse = true; break;
      case OptionId::ProxyServer:
        o_.proxyServer = v;
        o_.argumentProxyFields |= kArgProxyServer;
        break;
      case OptionId::ProxyPort:
        o_.proxyPort = v;
        o_.argumentProxyFields |= kArgProxyPort;
        break;
      case OptionId::ProxyUser:
        o_.proxyUser = v;
        o_.proxyUserUse = 1;
        o_.argumentProxyFields |= kArgProxyUser;
        break;
      case OptionId::ProxyPassword:
        o_.proxyPassword = v;
        o_.proxyUserUse = 1;
        o_.argumentProxyFields |= kArgProxyPassword;
        break;
      case OptionId::ProxyEncrypted:
        o_.proxyPasswordScrambled = v;
        o_.proxyUserUse = 1;
        o_.argumentProxyFields |= kArgProxyScrambled;
        break;
      case OptionId::Restart: o_.restartProgram = v; break;
      case OptionId::Arg: o_.restartArguments = v; break;
      case OptionId::NoRestart: o_.noRestart = true; break;
      case OptionId::SettingFile:
      case OptionId::Download:
      case OptionId::DownloadPair: break;
    }
  }

 private:
  UpdateOptions& o_;
};

class ItemMaker : public ItemPassHost {
 public:
  explicit ItemMaker(UpdateSession& s) : s_(s) {}

  int ItemCount() override { return static_cast<int>(s_.items.size()); }
  bool AddDownload(const std::wstring& item) override { return Add(item, nullptr); }
  bool AddDownloadPair(const std::wstring& url, const std::wstring& localPath) override {
    return Add(url, &localPath);
  }
  void LimitReached(int limit) override {
    wchar_t text[1024];
    swprintf(text, 1024, L"ダウンロード最大数（%ld）に達しました", static_cast<long>(limit));
    ShowRunMessage(s_, text, MB_OK | MB_ICONWARNING);
  }

 private:
  bool Add(const std::wstring& itemText, const std::wstring* pairPath) {
    std::unique_ptr<wchar_t[]> folder(new (std::nothrow) wchar_t[1024]);
    std::unique_ptr<wchar_t[]> name(new (std::nothrow) wchar_t[1024]);
    std::unique_ptr<wchar_t[]> local(new (std::nothrow) wchar_t[8192]);
    if (!folder || !name || !local) return false;
    if (!SplitItemSpec(itemText.c_str(), folder.get(), 1024, name.get(), 1024, local.get(), 8192)) return false;
    DownloadItem item;
    item.urlFolder = folder.get();
    item.fileName = name.get();
    item.localPath = pairPath ? *pairPath : std::wstring(local.get());
    s_.items.push_back(std::move(item));
    return true;
  }
  UpdateSession& s_;
};

LocalDateTime Today(const SYSTEMTIME& t) {
  LocalDateTime d;
  d.year = t.wYear;
  d.month = t.wMonth;
  d.day = t.wDay;
  return d;
}

}  // namespace

int BeginRun(UpdaterProcess& p, const wchar_t* commandLine) {
  UpdateSession& e = p.session;
  if (SelfUpdateDue(Today(p.today), p.settings.lastCheck, p.settings.autoUpdate)) e.options.ownUpdate = true;

  int count = 0;
  OwnedStringList list(SplitArguments(commandLine ? commandLine : L"", &count));
  std::vector<std::wstring> args = TokensOf(list.get(), count);

  OptionApplier options(e.options);
  RunOptionPass(args, options);
  e.argumentCount = static_cast<int>(args.size());
  ItemMaker items(e);
  RunItemPass(args, items);

  if (e.windows && !e.windows->OpenRunWindow(e.options.confirm, e.options.silent)) {
    // Without a window nothing would ever end the run: count it as failed
    // and end the process through the usual end of a run.
    e.run.updatedCount = 0;
    e.run.allSucceeded = 0;
    e.windows->EndRunWithoutWindow();
  }
  return 1;
}

}  // namespace qxu
