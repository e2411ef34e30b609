#include "recording_port.h"

#include "engine/support/core/owned_string.h"

void AddItem(qxu::UpdateEngine& e, const std::wstring& urlFolder, const std::wstring& fileName,
             const std::wstring& localPath) {
  auto item = std::make_unique<qxu::DownloadItem>();
  item->urlFolder = qxu::DupString(urlFolder.c_str());
  item->fileName = qxu::DupString(fileName.c_str());
  item->localPath = qxu::DupString(localPath.c_str());
  e.items[e.itemCount++] = std::move(item);
}
