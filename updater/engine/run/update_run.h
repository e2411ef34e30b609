// The per-file steps and the passes of an update run.
#pragma once
#include <windows.h>

#include <cstdint>

#include "update_engine.h"

namespace qxu {

// Name under which a newer updater is stored beside the running one.
inline constexpr wchar_t kNewCopyName[] = L"QxUpdateNew.exe";

// Downloads one file when needed; returns its outcome (UpdateStatus, or 2
// when keep going was already 0). forceUpdate and noCheckUpdate are passed
// on but not consulted.
std::uint8_t UpdateOneFile(UpdateEngine& e, const wchar_t* urlFolder, const wchar_t* fileName,
                           const wchar_t* localPath, const FILETIME* storedTime, std::uint32_t sizeLow,
                           std::uint32_t sizeHigh, int forceUpdate, int noCheckUpdate, int forceCheck);

// Checks one file: 0 up to date, 1 newer, 127 failed, 126 no downloader.
std::uint8_t CheckOneFile(UpdateEngine& e, const wchar_t* urlFolder, const wchar_t* fileName,
                          const wchar_t* localPath, FILETIME* serverTime, std::uint64_t* size);

// A message box through the run windows, or of its own without them.
void ShowRunMessage(UpdateEngine& e, const wchar_t* text, unsigned type);
// Outcome 127: message "中断しました", updated count -1, keep going 0, command 1.
void Abort(UpdateEngine& e);

// The self-update: a newer updater from server + "/sources/QxUpdate32/" is
// stored as the hidden "QxUpdateNew.exe"; LastCheck is stamped unless the
// check or the download failed or the run was aborted.
void RunSelfUpdate(UpdateEngine& e, const wchar_t* server);

// The progress window's run over the whole table.
void RunItems(UpdateEngine& e);
// The confirm window's two passes.
void CheckPass(UpdateEngine& e);
void DownloadPass(UpdateEngine& e);

}  // namespace qxu
