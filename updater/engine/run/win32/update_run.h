// The per-file steps and the passes of an update run.
#pragma once
#include <windows.h>

#include <cstdint>

#include "engine/run/win32/update_session.h"

namespace qxu {

// Name under which a newer updater is stored beside the running one.
inline constexpr wchar_t kNewCopyName[] = L"QxUpdateNew.exe";

// Downloads the item's file when needed; returns its outcome (UpdateStatus,
// or 2 when keep going was already 0). With useCheckedTime and a size found
// by the confirm window's check, the check is not repeated.
std::uint8_t UpdateOneFile(UpdateSession& s, const DownloadItem& item, bool useCheckedTime);

// Checks the item's file: 0 up to date, 1 newer, 127 failed, 126 no downloader.
std::uint8_t CheckOneFile(UpdateSession& s, const DownloadItem& item, FILETIME* serverTime, std::uint64_t* size);

// A message box through the run windows, or of its own without them.
void ShowRunMessage(UpdateSession& s, const wchar_t* text, unsigned type);
// Outcome 127: message "中断しました", updated count -1, keep going 0, the run stopped.
void Abort(UpdateSession& s);

// The self-update: a newer updater from server + "/sources/QxUpdate32/" is
// stored as the hidden "QxUpdateNew.exe"; LastCheck is stamped unless the
// check or the download failed or the run was aborted.
void RunSelfUpdate(UpdateSession& s, const wchar_t* server);

// The progress window's run over the whole table.
void RunItems(UpdateSession& s);
// The confirm window's two passes.
void CheckPass(UpdateSession& s);
void DownloadPass(UpdateSession& s);

}  // namespace qxu
