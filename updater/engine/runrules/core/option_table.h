// The command-line option table and the two passes over the argument list.
#pragma once
#include <set>
#include <string>
#include <vector>

namespace qxu {

enum class OptionId {
  Silent, NoSilent, Information, NoInformation, ForceUpdate, NoForceUpdate, NoCheckUpdate,
  OwnUpdate, DeleteSetting, Confirm, NoConfirm, ProxyNotUse, ProxyServer, ProxyPort,
  ProxyUser, ProxyPassword, ProxyEncrypted, Restart, Arg, NoRestart, SettingFile,
  Download, DownloadPair
};

struct OptionSpec {
  const wchar_t* shortForm;
  const wchar_t* longForm;
  OptionId id;
  int values;  // tokens the option consumes
};

// Exact, case-sensitive match of a whole token, in table order; null when none.
const OptionSpec* FindOption(const std::wstring& token);

// What the first pass needs from its surroundings.
class OptionPassHost {
 public:
  virtual ~OptionPassHost() = default;
  virtual bool PathExists(const std::wstring& path) = 0;
  // Identity of a file for the once-per-run guard (e.g. full path, lower case).
  virtual std::wstring FileKey(const std::wstring& path) = 0;
  // Tokens of a description file; empty when it cannot be read.
  virtual std::vector<std::wstring> ReadDescription(const std::wstring& path) = 0;
  virtual void Apply(OptionId id, const std::wstring* value) = 0;
  // First description file named; called for every one, the host keeps the first.
  virtual void NoteSettingFile(const std::wstring& path) = 0;
};

// First pass: options, with description files appended to `args` while it is
// scanned. The values of "-dl" (one) and "-dp" (two) are skipped unread; a
// value missing at the end ends the pass. Each description file is read at most once per run, so a file that
// names itself, directly or through others, cannot grow the list for ever.
void RunOptionPass(std::vector<std::wstring>& args, OptionPassHost& host);

class ItemPassHost {
 public:
  virtual ~ItemPassHost() = default;
  virtual int ItemCount() = 0;
  // Each returns false when no item could be made (the pass goes on).
  virtual bool AddDownload(const std::wstring& item) = 0;
  virtual bool AddDownloadPair(const std::wstring& url, const std::wstring& localPath) = 0;
  virtual void LimitReached(int limit) = 0;
};

constexpr int kMaxItems = 1000;

// Second pass: "-dl" and "-dp" make items, at most kMaxItems.
void RunItemPass(const std::vector<std::wstring>& args, ItemPassHost& host);

}  // namespace qxu
