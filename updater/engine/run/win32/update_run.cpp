#include "engine/run/win32/update_run.h"

#include <cwchar>
#include <new>
#include <string>

#include "engine/description/core/item_spec.h"
#include "engine/support/core/password_scrambler.h"
#include "engine/support/core/text_compare.h"
#include "engine/identity/win32/program_identity.h"
#include "engine/runrules/core/update_status.h"

namespace qxu {

namespace {

struct FileJob {
  wchar_t url[1024] = {};
  wchar_t localPath[8192] = {};
};

const wchar_t* OrNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

void ProgressToWindows(void* windows, const wchar_t* text, double value) {
  static_cast<RunWindowPort*>(windows)->ShowProgress(text, value);
}

// Common preparation of both per-file steps; false when no downloader exists.
bool Prepare(UpdateSession& s, const DownloadItem& item, FileJob& job) {
  // A URL that does not fit stays empty, which the downloader refuses.
  if (!MakeDownloadUrl(item.urlFolder.c_str(), item.fileName.c_str(), job.url, 1024)) job.url[0] = 0;
  const wchar_t* start = OrNull(s.startFolder);
  if (!item.localPath.empty() || start) {
    if (!MakeItemLocalPath(OrNull(item.localPath), start, item.fileName.c_str(), job.localPath, 8192))
      job.localPath[0] = 0;
  } else if (item.fileName.size() < 8192) {
    wcscpy(job.localPath, item.fileName.c_str());
  }
  if (!s.downloader) s.downloader.reset(new (std::nothrow) HttpDownloader());
  if (!s.downloader) return false;

  const UpdateOptions& o = s.options;
  // Stored credentials belong to the stored proxy. A proxy that the command
  // line or a description file names gets only the credentials named there,
  // else the password dialog asks.
  const unsigned named = o.argumentProxyFields;
  const bool namedProxy = (named & (kArgProxyServer | kArgProxyPort)) != 0;
  const auto given = [&](unsigned field, const std::wstring& value) -> const wchar_t* {
    return !namedProxy || (named & field) ? OrNull(value) : nullptr;
  };
  const wchar_t* scrambled = given(kArgProxyScrambled, o.proxyPasswordScrambled);
  std::wstring plain;
  if (scrambled) {
    std::wstring out(wcslen(scrambled) / 2 + 1, L'\0');
    if (UnscramblePassword(scrambled, &out[0], out.size())) plain = out.c_str();
  }
  const wchar_t* password = !plain.empty() ? plain.c_str() : given(kArgProxyPassword, o.proxyPassword);
  s.downloader->Configure(!o.proxyNotUse && o.proxyUserUse == 1 ? 1 : 0, OrNull(o.proxyServer), OrNull(o.proxyPort),
                          given(kArgProxyUser, o.proxyUser), password);
  s.downloader->SetProgressCallback(s.windows ? ProgressToWindows : nullptr, s.windows);
  return true;
}

void SetState(UpdateSession& s, int index, RowState state) {
  DownloadItem& item = s.items[index];
  item.state = state;
  if (s.windows) s.windows->ShowItemState(index, state, item.size);
}

}  // namespace

void ShowRunMessage(UpdateSession& s, const wchar_t* text, unsigned type) {
  if (s.windows) s.windows->ShowMessage(text, type);
  else MessageBoxW(nullptr, text, MessageCaption(s.identity), type);
}

// Outcome 127: the whole run stops with a message.
void Abort(UpdateSession& s) {
  ShowRunMessage(s, kAbortedText, MB_OK | MB_ICONWARNING);
  s.run.updatedCount = -1;
  s.run.keepGoing = 0;
  if (s.windows) s.windows->StopRun();
}

std::uint8_t UpdateOneFile(UpdateSession& s, const DownloadItem& item, bool useCheckedTime) {
  if (s.run.keepGoing == 0) return kStatusNotAttempted;
  std::unique_ptr<FileJob> job(new (std::nothrow) FileJob());
  if (!job || !Prepare(s, item, *job)) return kStatusLocalFailure;
  HttpDownloader& dl = *s.downloader;

  if (!s.programPath.empty() && SameText(job->localPath, s.programPath.c_str(), 1)) {
    // The running program cannot be replaced: store the newer copy beside it.
    const std::wstring store = s.programFolder + kNewCopyName;
    dl.CheckAndDownload(job->url, s.programPath.c_str(), store.c_str());
    SetFileAttributesW(store.c_str(), FILE_ATTRIBUTE_HIDDEN);
    return dl.Status();
  }
  if (useCheckedTime && item.size != 0) {
    // The confirm window's check already found the server copy newer.
    std::uint64_t size = item.size;
    dl.Download(job->url, job->localPath, &item.serverTime, &size);
    return dl.Status();
  }
  dl.CheckAndDownload(job->url, job->localPath, job->localPath);
  return dl.Status();
}

std::uint8_t CheckOneFile(UpdateSession& s, const DownloadItem& item, FILETIME* serverTime, std::uint64_t* size) {
  if (s.run.keepGoing == 0) return kStatusCheckFailed;
  std::unique_ptr<FileJob> job(new (std::nothrow) FileJob());
  if (!job || !Prepare(s, item, *job)) return kStatusCheckFailed;
  s.downloader->CheckNewer(job->url, job->localPath, serverTime, size);
  return s.downloader->Status();
}

void RunItems(UpdateSession& s) {
  s.run.allSucceeded = 1;
  s.run.keepGoing = 1;
  s.run.updatedCount = 0;
  s.run.busy = 1;
  if (s.argumentCount == 0) {
    s.options.ownUpdate = true;
  } else {
    for (const DownloadItem& item : s.items) {
      if (s.run.keepGoing != 1) break;
      if (AccountOutcome(UpdateOneFile(s, item, false), s.run)) {
        Abort(s);
        break;
      }
    }
  }
  s.run.busy = 0;
  if (s.windows) s.windows->RunFinished();
}

void CheckPass(UpdateSession& s) {
  s.run.busy = 1;
  if (s.windows) s.windows->CheckPassBegins();
  // After the proxy password dialog was cancelled the check stops: asking
  // again for every later row would only repeat the question.
  bool cancelled = false;
  for (int i = 0; i < static_cast<int>(s.items.size()); ++i) {
    DownloadItem& item = s.items[i];
    if (cancelled) {
      SetState(s, i, RowState::Unknown);
      continue;
    }
    SetState(s, i, RowState::Checking);
    FILETIME serverTime = {};
    std::uint64_t size = 0;
    const std::uint8_t status = CheckOneFile(s, item, &serverTime, &size);
    if (status == kStatusDone || status == kStatusNewer) {
      item.serverTime = serverTime;
      item.size = size;
      SetState(s, i, status == kStatusDone ? RowState::UpToDate : RowState::Newer);
      if (status == kStatusNewer && s.windows) s.windows->SetItemChecked(i, true);
    } else if (s.run.keepGoing == 0) {
      SetState(s, i, RowState::Unknown);  // the window closed: not checked
    } else if (s.downloader && s.downloader->ProxyDialogCancelled()) {
      cancelled = true;
      SetState(s, i, RowState::Unknown);
    } else {
      // The server could not tell: a failure, not a file without news.
      s.run.allSucceeded = 0;
      SetState(s, i, RowState::Failed);
    }
  }
  s.run.busy = 0;
  if (s.windows) {
    s.windows->CheckPassEnds();
    if (s.options.silent) s.windows->StopRun();
  }
}

void DownloadPass(UpdateSession& s) {
  s.run.busy = 1;
  if (s.windows) s.windows->DownloadPassBegins();
  for (int i = 0; i < static_cast<int>(s.items.size()) && s.run.keepGoing == 1; ++i) {
    if (!s.windows || !s.windows->ItemChecked(i)) continue;
    SetState(s, i, RowState::Downloading);
    const std::uint8_t outcome = UpdateOneFile(s, s.items[i], true);
    switch (outcome) {
      case kStatusDone:
        CountUpdatedFile(s.run);
        SetState(s, i, RowState::Downloaded);
        break;
      case kStatusNewer:
      case kStatusLocalFailure:
        s.run.allSucceeded = 0;
        SetState(s, i, RowState::Failed);
        break;
      case kStatusNoDownload:
        SetState(s, i, RowState::NotNeeded);
        break;
      case kStatusCheckFailed:
        SetState(s, i, RowState::Cancelled);
        Abort(s);
        break;
      default:
        break;
    }
    if (outcome == kStatusCheckFailed) break;
  }
  s.run.busy = 0;
  if (s.windows) s.windows->RunFinished();
}

}  // namespace qxu
