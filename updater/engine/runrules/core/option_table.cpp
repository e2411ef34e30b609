#include "engine/runrules/core/option_table.h"

namespace qxu {

namespace {
const OptionSpec kOptions[] = {
    {L"-sl", L"--silent", OptionId::Silent, 0},
    {L"-ns", L"--no-silent", OptionId::NoSilent, 0},
    {L"-if", L"--information", OptionId::Information, 0},
    {L"-ni", L"--no-information", OptionId::NoInformation, 0},
    {L"-fu", L"--force-update", OptionId::ForceUpdate, 0},
    {L"-nf", L"--no-force-update", OptionId::NoForceUpdate, 0},
    {L"-ncu", L"--no-check-update", OptionId::NoCheckUpdate, 0},
    {L"-ou", L"--own-update", OptionId::OwnUpdate, 0},
    {L"-ds", L"--delete-setting", OptionId::DeleteSetting, 0},
    {L"-cf", L"--confirm", OptionId::Confirm, 0},
    {L"-nc", L"--no-confirm", OptionId::NoConfirm, 0},
    {L"-pn", L"--proxy-not-use", OptionId::ProxyNotUse, 0},
    {L"-ps", L"--proxy-server", OptionId::ProxyServer, 1},
    {L"-pp", L"--proxy-port", OptionId::ProxyPort, 1},
    {L"-pu", L"--proxy-user", OptionId::ProxyUser, 1},
    {L"-pw", L"--proxy-password", OptionId::ProxyPassword, 1},
    {L"-pe", L"--proxy-encryped", OptionId::ProxyEncrypted, 1},
    {L"-rs", L"--restart", OptionId::Restart, 1},
    {L"-ag", L"--arg", OptionId::Arg, 1},
    {L"-nr", L"--no-restart", OptionId::NoRestart, 0},
    {L"-sf", L"--setting-file", OptionId::SettingFile, 1},
    {L"-dl", L"--download", OptionId::Download, 1},
    {L"-dp", L"--downloadpair", OptionId::DownloadPair, 2},
};
}  // namespace

const OptionSpec* FindOption(const std::wstring& token) {
  for (const OptionSpec& o : kOptions)
    if (token == o.shortForm || token == o.longForm) return &o;
  return nullptr;
}

void RunOptionPass(std::vector<std::wstring>& args, OptionPassHost& host) {
  std::set<std::wstring> read;
  // The size is re-read every round: description files append behind.
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::wstring token = args[i];
    const bool exists = host.PathExists(token);
    const OptionSpec* option = FindOption(token);
    std::size_t pathIndex;
    if (option && option->id == OptionId::SettingFile) {
      pathIndex = i + 1;
    } else if (!option && exists) {
      pathIndex = i;
    } else {
      if (option && option->values > 0) {
        // Values are skipped whole, so an item's local path that exists is
        // never taken for a description file (nor later deleted as one).
        if (i + option->values >= args.size()) return;
        if (option->id != OptionId::Download && option->id != OptionId::DownloadPair)
          host.Apply(option->id, &args[i + 1]);
        i += option->values;
      } else if (option) {
        host.Apply(option->id, nullptr);
      }
      // "-dl", "-dp" and stray tokens wait for the second pass.
      continue;
    }
    if (pathIndex >= args.size()) continue;
    const std::wstring path = args[pathIndex];
    i = pathIndex;
    host.NoteSettingFile(path);
    if (!read.insert(host.FileKey(path)).second) continue;
    std::vector<std::wstring> tokens = host.ReadDescription(path);
    args.insert(args.end(), tokens.begin(), tokens.end());
  }
}

void RunItemPass(const std::vector<std::wstring>& args, ItemPassHost& host) {
  for (std::size_t j = 0; j < args.size(); ++j) {
    const OptionSpec* option = FindOption(args[j]);
    if (!option) continue;
    bool added = false;
    if (option->id == OptionId::Download) {
      if (j + 1 >= args.size() || host.ItemCount() >= kMaxItems) continue;
      added = host.AddDownload(args[j + 1]);
      ++j;
    } else if (option->id == OptionId::DownloadPair) {
      if (j + 2 >= args.size() || host.ItemCount() >= kMaxItems) continue;
      added = host.AddDownloadPair(args[j + 1], args[j + 2]);
      j += 2;
    } else {
      continue;
    }
    if (added && host.ItemCount() >= kMaxItems) {
      host.LimitReached(kMaxItems);
      return;
    }
  }
}

}  // namespace qxu
