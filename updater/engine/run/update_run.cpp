#include "update_run.h"

#include <cwchar>
#include <new>
#include <string>

#include "engine/description/core/item_spec.h"
#include "engine/support/core/password_scrambler.h"
#include "engine/support/core/text_compare.h"
#include "ui/identity/win32/program_identity.h"
#include "update_status.h"

namespace qxu {

namespace {

struct FileJob {
  wchar_t url[1024] = {};
  wchar_t localPath[8192] = {};
};

// Common preparation of both per-file steps; false when no downloader exists.
bool Prepare(UpdateEngine& e, const wchar_t* urlFolder, const wchar_t* fileName, const wchar_t* localPath,
             FileJob& job) {
  // A URL that does not fit stays empty, which the downloader refuses.
  if (!MakeDownloadUrl(urlFolder ? urlFolder : L"", fileName ? fileName : L"", job.url, 1024)) job.url[0] = 0;
  const wchar_t* start = e.startFolder.empty() ? nullptr : e.startFolder.c_str();
  if ((localPath && *localPath) || start) {
    if (!MakeItemLocalPath(localPath, start, fileName ? fileName : L"", job.localPath, 8192)) job.localPath[0] = 0;
  } else if (fileName && wcslen(fileName) < 8192) {
    wcscpy(job.localPath, fileName);
  }
  if (!e.downloader) e.downloader.reset(new (std::nothrow) HttpDownloader());
  if (!e.downloader) return false;

  const UpdaterOptions& o = e.options;
  // Stored credentials belong to the stored proxy. A proxy that the command
  // line or a description file names gets only the credentials named there,
  // else the password dialog asks.
  const unsigned named = o.argumentProxyFields;
  const bool namedProxy = (named & (kArgProxyServer | kArgProxyPort)) != 0;
  const auto given = [&](unsigned field, const wchar_t* value) -> const wchar_t* {
    return !namedProxy || (named & field) ? value : nullptr;
  };
  const wchar_t* scrambled = given(kArgProxyScrambled, o.proxyPasswordScrambled);
  std::wstring plain;
  if (scrambled) {
    std::wstring out(wcslen(scrambled) / 2 + 1, L'\0');
    if (UnscramblePassword(scrambled, &out[0], out.size())) plain = out.c_str();
  }
  const wchar_t* password = !plain.empty() ? plain.c_str() : given(kArgProxyPassword, o.proxyPassword);
  e.downloader->Configure(o.proxyNotUse == 0 && o.proxyUserUse == 1 ? 1 : 0, o.proxyServer, o.proxyPort,
                          given(kArgProxyUser, o.proxyUser), password);
  e.downloader->SetProgressCallback(e.windows ? e.windows->ProgressRoutine() : nullptr);
  return true;
}

}  // namespace

void ShowRunMessage(UpdateEngine& e, const wchar_t* text, unsigned type) {
  if (e.windows) e.windows->ShowMessage(text, type);
  else MessageBoxW(nullptr, text, MessageCaption(e.identity), type);
}

// Outcome 127: the whole run stops with a message.
void Abort(UpdateEngine& e) {
  ShowRunMessage(e, kAbortedText, MB_OK | MB_ICONWARNING);
  e.run.updatedCount = -1;
  e.run.keepGoing = 0;
  if (e.windows) e.windows->SendRunCommand(1);
}

namespace {

void SetStatus(UpdateEngine& e, int index, const wchar_t* text) {
  if (e.windows) e.windows->SetItemStatus(index, text);
}

}  // namespace

std::uint8_t UpdateOneFile(UpdateEngine& e, const wchar_t* urlFolder, const wchar_t* fileName,
                           const wchar_t* localPath, const FILETIME* storedTime, std::uint32_t sizeLow,
                           std::uint32_t sizeHigh, int /*forceUpdate*/, int /*noCheckUpdate*/, int forceCheck) {
  if (e.run.keepGoing == 0) return kStatusNotAttempted;
  std::unique_ptr<FileJob> job(new (std::nothrow) FileJob());
  if (!job || !Prepare(e, urlFolder, fileName, localPath, *job)) return kStatusLocalFailure;
  HttpDownloader& dl = *e.downloader;

  if (!e.programPath.empty() && SameText(job->localPath, e.programPath.c_str(), 1)) {
    // The running program cannot be replaced: store the newer copy beside it.
    const std::wstring store = e.programFolder + kNewCopyName;
    dl.CheckAndDownload(job->url, e.programPath.c_str(), store.c_str());
    SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return dl.Status();
  }
  std::uint64_t size = (static_cast<std::uint64_t>(sizeHigh) << 32) | sizeLow;
  if (forceCheck != 1 && storedTime && size != 0) {
    // The confirm window's check already found the server copy newer.
    dl.Download(job->url, job->localPath, storedTime, &size);
    return dl.Status();
  }
  dl.CheckAndDownload(job->url, job->localPath, job->localPath);
  return dl.Status();
}

std::uint8_t CheckOneFile(UpdateEngine& e, const wchar_t* urlFolder, const wchar_t* fileName,
                          const wchar_t* localPath, FILETIME* serverTime, std::uint64_t* size) {
  if (e.run.keepGoing == 0) return kStatusCheckFailed;
  std::unique_ptr<FileJob> job(new (std::nothrow) FileJob());
  if (!job || !Prepare(e, urlFolder, fileName, localPath, *job)) return kStatusCheckFailed;
  e.downloader->CheckNewer(job->url, job->localPath, serverTime, size);
  return e.downloader->Status();
}

void RunItems(UpdateEngine& e) {
  e.run.allSucceeded = 1;
  e.run.keepGoing = 1;
  e.run.updatedCount = 0;
  e.run.busy = 1;
  if (e.argumentCount == 0) {
    e.options.ownUpdate = 1;
  } else {
    for (int i = 0; i < e.itemCount && e.run.keepGoing == 1; ++i) {
      const DownloadItem* item = e.items[i].get();
      if (!item) continue;
      const std::uint8_t outcome = UpdateOneFile(e, item->urlFolder, item->fileName, item->localPath, nullptr, 0,
                                                 0, e.options.forceUpdate, e.options.noCheckUpdate, 0);
      if (AccountOutcome(outcome, e.run)) {
        Abort(e);
        break;
      }
    }
  }
  e.run.busy = 0;
  if (e.windows) e.windows->SendRunCommand(2);
}

void CheckPass(UpdateEngine& e) {
  e.run.busy = 1;
  if (e.windows) e.windows->CheckPassBegins();
  wchar_t text[1024];
  // After the proxy password dialog was cancelled the check stops: asking
  // again for every later row would only repeat the question.
  bool cancelled = false;
  for (int i = 0; i < e.itemCount; ++i) {
    DownloadItem* item = e.items[i].get();
    if (!item) continue;
    if (cancelled) {
      SetStatus(e, i, L"不明");
      continue;
    }
    SetStatus(e, i, L"チェック中...");
    FILETIME serverTime = {};
    std::uint64_t size = 0;
    const std::uint8_t status = CheckOneFile(e, item->urlFolder, item->fileName, item->localPath, &serverTime, &size);
    const long shown = static_cast<long>(static_cast<std::uint32_t>(size));
    if (status == kStatusDone || status == kStatusNewer) {
      swprintf(text, 1024, status == kStatusDone ? L"アップデート不要(%ldbyte)" : L"アップデート可能(%ldbyte)", shown);
      SetStatus(e, i, text);
      if (status == kStatusNewer && e.windows) e.windows->SetItemChecked(i, 1);
      item->serverTime = serverTime;
      item->sizeLow = static_cast<std::uint32_t>(size);
      item->sizeHigh = static_cast<std::uint32_t>(size >> 32);
    } else if (e.run.keepGoing == 0) {
      SetStatus(e, i, L"不明");  // the window closed: not checked
    } else if (e.downloader && e.downloader->ProxyDialogCancelled()) {
      cancelled = true;
      SetStatus(e, i, L"不明");
    } else {
      // The server could not tell: a failure, not a file without news.
      e.run.allSucceeded = 0;
      SetStatus(e, i, L"エラー");
    }
  }
  e.run.busy = 0;
  if (e.windows) {
    e.windows->CheckPassEnds();
    if (e.options.silent == 1) e.windows->SendRunCommand(1);
  }
}

void DownloadPass(UpdateEngine& e) {
  e.run.busy = 1;
  if (e.windows) e.windows->DownloadPassBegins();
  for (int i = 0; i < e.itemCount && e.run.keepGoing == 1; ++i) {
    DownloadItem* item = e.items[i].get();
    if (!item || !e.windows || !e.windows->ItemChecked(i)) continue;
    SetStatus(e, i, L"ダウンロード中...");
    const std::uint8_t outcome =
        UpdateOneFile(e, item->urlFolder, item->fileName, item->localPath, &item->serverTime, item->sizeLow,
                      item->sizeHigh, e.options.forceUpdate, e.options.noCheckUpdate, 0);
    switch (outcome) {
      case kStatusDone:
        ++e.run.updatedCount;
        SetStatus(e, i, L"ダウンロード完了");
        break;
      case kStatusNewer:
      case kStatusLocalFailure:
        e.run.allSucceeded = 0;
        SetStatus(e, i, L"エラー");
        break;
      case kStatusNoDownload:
        SetStatus(e, i, L"ダウンロード不要");
        break;
      case kStatusCheckFailed:
        SetStatus(e, i, L"キャンセル");
        Abort(e);
        break;
      default:
        break;
    }
    if (outcome == kStatusCheckFailed) break;
  }
  e.run.busy = 0;
  if (e.windows) e.windows->SendRunCommand(2);
}

}  // namespace qxu
