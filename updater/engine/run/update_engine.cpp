#include "update_engine.h"

#include "engine/support/core/owned_string.h"

namespace qxu {

void UpdaterOptions::Reset() {
  for (wchar_t** s : {&proxyServer, &proxyPort, &proxyUser, &proxyPassword, &proxyPasswordScrambled,
                      &restartProgram, &restartArguments, &settingFile}) {
    FreeString(*s);
    *s = nullptr;
  }
  silent = 0;
  information = 1;
  confirm = 0;
  forceUpdate = 0;
  noCheckUpdate = 0;
  ownUpdate = 0;
  deleteSetting = 0;
  proxyNotUse = 0;
  proxyUserUse = 0;
  noRestart = 0;
  argumentProxyFields = 0;
}

DownloadItem::~DownloadItem() {
  FreeString(urlFolder);
  FreeString(fileName);
  FreeString(localPath);
}

void UpdateEngine::FreeItems() {
  for (auto& slot : items) slot.reset();
  itemCount = 0;
}

void UpdateEngine::Reset() {
  options.Reset();
  run.updatedCount = 0;
  run.allSucceeded = 0;
  run.keepGoing = 1;
  run.busy = 0;
  FreeItems();
}

UpdateEngine& TheEngine() {
  static UpdateEngine engine;
  return engine;
}

}  // namespace qxu
