// The updater's one downloader: one file at a time over HTTP or HTTPS through
// WinINet, decided by the server's Last-Modified time.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/runrules/core/update_status.h"
#include "engine/download/win32/win_handles.h"

namespace qxu {

// Status text and a percentage 0..100, or -1.0 for text only; context is
// what was given with the callback.
typedef void (*ProgressCallback)(void* context, const wchar_t* text, double value);

class HttpDownloader {
 public:
  HttpDownloader() = default;
  HttpDownloader(const HttpDownloader&) = delete;
  HttpDownloader& operator=(const HttpDownloader&) = delete;

  // Empty or missing strings keep the earlier value. The internet handle
  // takes the proxy settings valid when it is first opened.
  void Configure(int useProxy, const wchar_t* server, const wchar_t* port, const wchar_t* user,
                 const wchar_t* password);
  void SetProgressCallback(ProgressCallback callback, void* context) {
    callback_ = callback;
    callbackContext_ = context;
  }
  std::uint8_t Status() const { return status_; }
  // 1 when the last operation ended because the proxy password dialog was
  // cancelled (status 127): callers must not read that as a failed check.
  int ProxyDialogCancelled() const { return proxyCancelled_; }

  // 1 when the file should be downloaded. serverTime gets the server's time,
  // or the current UTC time when the server gives none; size the Content-Length.
  int CheckNewer(const wchar_t* url, const wchar_t* localPath, FILETIME* serverTime, std::uint64_t* size);
  // 1 when the file is stored at localPath. A zero *size is filled from the
  // response. The old file stays untouched unless the transfer completes.
  int Download(const wchar_t* url, const wchar_t* localPath, const FILETIME* serverTime, std::uint64_t* size);
  // Status 3 when the file is up to date, 1 when the check failed.
  int CheckAndDownload(const wchar_t* url, const wchar_t* comparePath, const wchar_t* storePath);

  // Creates the folder and its missing parents; 1 when the last creation succeeded.
  static int MakeFolders(const wchar_t* path);

 private:
  bool OpenSession();
  InternetHandle OpenUrl(const wchar_t* url);
  DWORD ProbeAvailable(HINTERNET request);
  bool HandleProxyAuth(HINTERNET request);
  bool CheckStatusOk(HINTERNET request);
  bool QueryLastModified(HINTERNET request, FILETIME* time);
  std::uint64_t QueryContentLength(HINTERNET request);
  void EnsureSent(HINTERNET request);
  void Report(const wchar_t* text, double value) const {
    if (callback_) callback_(callbackContext_, text, value);
  }

  InternetHandle session_;
  std::wstring proxyServer_;
  std::wstring proxyPort_;
  std::wstring proxyUser_;
  std::wstring proxyPassword_;
  int useProxy_ = 0;
  int proxyCheckDone_ = 0;
  int requestSent_ = 0;
  std::uint8_t status_ = kStatusCheckFailed;
  int proxyCancelled_ = 0;
  ProgressCallback callback_ = nullptr;
  void* callbackContext_ = nullptr;
};

}  // namespace qxu
