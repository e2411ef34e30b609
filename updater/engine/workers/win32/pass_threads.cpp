#include "engine/workers/win32/pass_threads.h"

#include "update_run.h"

namespace qxu {

DWORD WINAPI RunItemsThread(LPVOID) {
  RunItems(TheEngine());
  return 0;
}

DWORD WINAPI CheckPassThread(LPVOID) {
  CheckPass(TheEngine());
  return 0;
}

DWORD WINAPI DownloadPassThread(LPVOID) {
  DownloadPass(TheEngine());
  return 0;
}

}  // namespace qxu
