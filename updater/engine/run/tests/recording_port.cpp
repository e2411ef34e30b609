#include "engine/run/tests/recording_port.h"

void AddItem(qxu::UpdateSession& s, const std::wstring& urlFolder, const std::wstring& fileName,
             const std::wstring& localPath) {
  qxu::DownloadItem item;
  item.urlFolder = urlFolder;
  item.fileName = fileName;
  item.localPath = localPath;
  s.items.push_back(item);
}
