#include <cwchar>

#include "engine/description/core/item_spec.h"
#include "engine/support/core/text_compare.h"
#include "engine/run/win32/update_run.h"

namespace qxu {

namespace {
// Names in the updater's server folder, double-zero terminated.
const wchar_t kSelfUpdateList[] = L"QxUpdate.exe\0";
}  // namespace

void RunSelfUpdate(UpdateSession& s, const wchar_t* server) {
  s.run.allSucceeded = 1;
  s.run.keepGoing = 1;
  s.run.updatedCount = 0;
  const std::wstring base = std::wstring(server ? server : L"") + L"/sources";
  for (const wchar_t* name = kSelfUpdateList; name && *name; name = NextName(name)) {
    wchar_t itemText[1024];
    if (swprintf(itemText, 1024, L"%ls%ls/%ls;%ls%ls", base.c_str(), L"/QxUpdate32", name, s.programFolder.c_str(),
                 name) < 0)
      continue;
    wchar_t urlFolder[1024], fileName[1024], localPath[8192];
    if (!SplitItemSpec(itemText, urlFolder, 1024, fileName, 1024, localPath, 8192)) continue;
    DownloadItem item;
    item.urlFolder = urlFolder;
    item.fileName = fileName;
    item.localPath = localPath;
    if (AccountOutcome(UpdateOneFile(s, item, false), s.run)) {
      Abort(s);
      break;
    }
  }
  if (s.run.updatedCount >= 0 && s.run.allSucceeded == 1 && s.stampLastCheck) s.stampLastCheck();
  if (s.windows) s.windows->RunFinished();
}

}  // namespace qxu
