#pragma once
// Thread procedures of the run's passes over the process's one engine.
#include <windows.h>

namespace qxu {

DWORD WINAPI RunItemsThread(LPVOID);
DWORD WINAPI CheckPassThread(LPVOID);
DWORD WINAPI DownloadPassThread(LPVOID);

}  // namespace qxu
