#include <cwchar>

#include "engine/description/core/item_spec.h"
#include "engine/support/core/text_compare.h"
#include "update_run.h"

namespace qxu {

namespace {
// Names in the updater's server folder, double-zero terminated.
const wchar_t kSelfUpdateList[] = L"QxUpdate.exe\0";
}  // namespace

void RunSelfUpdate(UpdateEngine& e, const wchar_t* server) {
  e.run.allSucceeded = 1;
  e.run.keepGoing = 1;
  e.run.updatedCount = 0;
  const std::wstring base = std::wstring(server ? server : L"") + L"/sources";
  for (const wchar_t* name = kSelfUpdateList; name && *name; name = NextName(name)) {
    wchar_t item[1024];
    if (swprintf(item, 1024, L"%ls%ls/%ls;%ls%ls", base.c_str(), L"/QxUpdate32", name, e.programFolder.c_str(),
                 name) < 0)
      continue;
    wchar_t urlFolder[1024], fileName[1024], localPath[8192];
    if (!SplitItemSpec(item, urlFolder, 1024, fileName, 1024, localPath, 8192)) continue;
    const std::uint8_t outcome = UpdateOneFile(e, urlFolder, fileName, localPath, nullptr, 0, 0,
                                               e.options.forceUpdate, e.options.noCheckUpdate, 1);
    if (AccountOutcome(outcome, e.run)) {
      Abort(e);
      break;
    }
  }
  if (e.run.updatedCount >= 0 && e.run.allSucceeded == 1 && e.stampLastCheck) e.stampLastCheck();
  if (e.windows) e.windows->SendRunCommand(2);
}

}  // namespace qxu
