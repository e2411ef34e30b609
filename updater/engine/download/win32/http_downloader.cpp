#include "engine/download/win32/http_downloader.h"

#include <wininet.h>

#include <memory>
#include <new>

#include "engine/runrules/core/download_progress.h"
#include "engine/description/core/item_spec.h"
#include "engine/runrules/core/path_text.h"

namespace qxu {

namespace {

const wchar_t kConnecting[] = L"インターネットに接続中";
const wchar_t kOpeningPage[] = L"ページに接続中";
const wchar_t kProbing[] = L"アクセスバッファサイズを確認中";
const wchar_t kProxy[] = L"プロキシに接続中";
const wchar_t kCheckingExists[] = L"ファイルの存在を確認中";
const wchar_t kCheckingTime[] = L"ファイル更新時刻を確認中";
const wchar_t kCheckingSize[] = L"ファイルサイズを確認中";
const wchar_t kDownloading[] = L"ダウンロード中";
const wchar_t kFinished[] = L"ダウンロード終了";

void KeepIfGiven(std::wstring& field, const wchar_t* value) {
  if (value && *value) field = value;
}

// Content-Length read as text, so sizes beyond 32 bits survive.
bool ReadContentLength(HINTERNET request, std::uint64_t* length) {
  wchar_t text[32] = {};
  DWORD bytes = sizeof(text) - sizeof(wchar_t);
  if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &bytes, nullptr)) return false;
  std::uint64_t n = 0;
  const wchar_t* p = text;
  while (*p == L' ') ++p;
  if (*p < L'0' || *p > L'9') return false;
  for (; *p >= L'0' && *p <= L'9'; ++p) {
    if (n > (UINT64_MAX - 9) / 10) return false;
    n = n * 10 + static_cast<unsigned>(*p - L'0');
  }
  *length = n;
  return true;
}

}  // namespace

void HttpDownloader::Configure(int useProxy, const wchar_t* server, const wchar_t* port, const wchar_t* user,
                               const wchar_t* password) {
  useProxy_ = useProxy;
  KeepIfGiven(proxyServer_, server);
  KeepIfGiven(proxyPort_, port);
  KeepIfGiven(proxyUser_, user);
  KeepIfGiven(proxyPassword_, password);
}

bool HttpDownloader::OpenSession() {
  Report(kConnecting, -1.0);
  if (session_) return true;
  if (useProxy_ == 1 && !proxyServer_.empty()) {
    std::wstring proxy = proxyServer_;
    if (!proxyPort_.empty()) proxy += L":" + proxyPort_;
    session_ = InternetHandle(InternetOpenW(L"QxDownload", INTERNET_OPEN_TYPE_PROXY, proxy.c_str(), nullptr, 0));
  } else {
    session_ = InternetHandle(InternetOpenW(L"QxDownload", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  }
  return static_cast<bool>(session_);
}

InternetHandle HttpDownloader::OpenUrl(const wchar_t* url) {
  if (!url || !*url) return InternetHandle();
  Report(kOpeningPage, -1.0);
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
  if (IsSecureUrl(url)) flags |= INTERNET_FLAG_SECURE;
  return InternetHandle(InternetOpenUrlW(session_.get(), url, nullptr, 0, flags, 0));
}

DWORD HttpDownloader::ProbeAvailable(HINTERNET request) {
  Report(kProbing, -1.0);
  DWORD available = 0;
  if (InternetQueryDataAvailable(request, &available, 0, 0)) return available;
  return GetLastError() == ERROR_NO_MORE_FILES ? 0 : 1024;
}

bool HttpDownloader::HandleProxyAuth(HINTERNET request) {
  if (useProxy_ != 1 || proxyCheckDone_ != 0) return true;
  Report(kProxy, -1.0);
  if (requestSent_ == 0) HttpSendRequestW(request, nullptr, 0, nullptr, 0);
  DWORD code = 0;
  DWORD bytes = sizeof(code);
  HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &bytes, nullptr);
  if (code != HTTP_STATUS_PROXY_AUTH_REQ) {
    proxyCheckDone_ = 1;
    return true;
  }
  if (!proxyUser_.empty() && !proxyPassword_.empty()) {
    const DWORD userChars = static_cast<DWORD>(proxyUser_.size() + 1);
    const DWORD passChars = static_cast<DWORD>(proxyPassword_.size() + 1);
    if (!InternetSetOptionW(request, INTERNET_OPTION_PROXY_USERNAME, const_cast<wchar_t*>(proxyUser_.c_str()),
                            userChars) ||
        !InternetSetOptionW(request, INTERNET_OPTION_PROXY_PASSWORD, const_cast<wchar_t*>(proxyPassword_.c_str()),
                            passChars))
      return true;
  } else {
    const DWORD answer = InternetErrorDlg(GetDesktopWindow(), request, ERROR_INTERNET_INCORRECT_PASSWORD,
                                          FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                                              FLAGS_ERROR_UI_FLAGS_GENERATE_DATA,
                                          nullptr);
    if (answer != ERROR_INTERNET_FORCE_RETRY) {
      status_ = kStatusCheckFailed;
      proxyCancelled_ = 1;
      return false;
    }
  }
  HttpSendRequestW(request, nullptr, 0, nullptr, 0);
  requestSent_ = 1;
  proxyCheckDone_ = 1;
  return true;
}

void HttpDownloader::EnsureSent(HINTERNET request) {
  if (requestSent_ != 0) return;
  HttpSendRequestW(request, nullptr, 0, nullptr, 0);
  requestSent_ = 1;
}

bool HttpDownloader::CheckStatusOk(HINTERNET request) {
  Report(kCheckingExists, -1.0);
  EnsureSent(request);
  DWORD code = 0;
  DWORD bytes = sizeof(code);
  // A status that cannot be read proves nothing about the file.
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &bytes, nullptr)) return false;
  return code == HTTP_STATUS_OK;
}

bool HttpDownloader::QueryLastModified(HINTERNET request, FILETIME* time) {
  Report(kCheckingTime, -1.0);
  EnsureSent(request);
  SYSTEMTIME st = {};
  DWORD bytes = sizeof(st);
  if (!HttpQueryInfoW(request, HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME, &st, &bytes, nullptr))
    return false;
  return SystemTimeToFileTime(&st, time) != FALSE;
}

std::uint64_t HttpDownloader::QueryContentLength(HINTERNET request) {
  Report(kCheckingSize, -1.0);
  EnsureSent(request);
  std::uint64_t length = 0;
  return ReadContentLength(request, &length) ? length : 0;
}

int HttpDownloader::CheckNewer(const wchar_t* url, const wchar_t* localPath, FILETIME* serverTime,
                               std::uint64_t* size) {
  proxyCancelled_ = 0;
  if (!url || !*url || !localPath || !*localPath || (!session_ && !OpenSession())) {
    status_ = kStatusCheckFailed;
    return 0;
  }
  FILETIME localTime = {};
  bool haveLocal = false;
  {
    FileHandle local(CreateFileW(localPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (local.valid()) haveLocal = GetFileTime(local.get(), nullptr, nullptr, &localTime) != FALSE;
  }
  InternetHandle request = OpenUrl(url);
  if (!request) {
    status_ = kStatusCheckFailed;
    return 0;
  }
  // The open performed the request. Sending it again while a slow response
  // is still arriving aborts that response (12030) and leaves a handle whose
  // status reads as success, so it is not re-sent.
  requestSent_ = 1;
  ProbeAvailable(request.get());
  if (!HandleProxyAuth(request.get())) return 0;
  if (!CheckStatusOk(request.get())) {
    status_ = kStatusCheckFailed;
    return 0;
  }
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  FILETIME remote;
  int newer = 1;
  if (QueryLastModified(request.get(), &remote)) {
    if (serverTime) *serverTime = remote;
    newer = (!haveLocal || CompareFileTime(&localTime, &remote) < 0) ? 1 : 0;
  } else if (serverTime) {
    *serverTime = now;
  }
  status_ = newer ? kStatusNewer : kStatusDone;
  const std::uint64_t length = QueryContentLength(request.get());
  if (size) *size = length;
  return newer;
}

int HttpDownloader::Download(const wchar_t* url, const wchar_t* localPath, const FILETIME* serverTime,
                             std::uint64_t* size) {
  proxyCancelled_ = 0;
  if (!url || !*url) {
    status_ = kStatusLocalFailure;
    return 0;
  }
  if (!session_ && !OpenSession()) {
    status_ = kStatusNewer;
    return 0;
  }
  InternetHandle request = OpenUrl(url);
  if (!request) {
    status_ = kStatusNewer;
    return 0;
  }
  requestSent_ = 1;  // see CheckNewer
  const DWORD chunk = ProbeAvailable(request.get());
  if (!HandleProxyAuth(request.get())) return 0;
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[2 * static_cast<std::size_t>(chunk) + 2]());
  if (!buffer || !CheckStatusOk(request.get())) {
    status_ = kStatusNewer;
    return 0;
  }
  std::uint64_t total = size ? *size : 0;
  if (total == 0) {
    total = QueryContentLength(request.get());
    if (size) *size = total;
  }
  // The response's own length decides whether the transfer is complete.
  std::uint64_t announced = 0;
  const bool lengthKnown = ReadContentLength(request.get(), &announced);

  const std::wstring target = localPath ? localPath : L"";
  if (target.empty()) {
    status_ = kStatusLocalFailure;
    return 0;
  }
  MakeFolders(FolderPartOf(target).c_str());
  {
    // A target held open by a running program fails before any transfer.
    FileHandle probe(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
    if (!probe.valid() && GetLastError() != ERROR_FILE_NOT_FOUND) {
      status_ = kStatusLocalFailure;
      return 0;
    }
  }
  PartFile part(PartFilePath(target));
  if (!part.Create()) {
    status_ = kStatusLocalFailure;
    return 0;
  }
  Report(kDownloading, -1.0);
  std::uint64_t received = 0;
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request.get(), buffer.get(), chunk, &got)) {
      status_ = kStatusLocalFailure;
      return 0;
    }
    if (got == 0) break;
    DWORD written = 0;
    if (!WriteFile(part.get(), buffer.get(), got, &written, nullptr) || written != got) {
      status_ = kStatusLocalFailure;
      return 0;
    }
    received += got;
    if (callback_) Report(kDownloading, DownloadPercent(received, total));
  }
  // A connection that ended early is a failed transfer, not a short file.
  if (lengthKnown && received < announced) {
    status_ = kStatusLocalFailure;
    return 0;
  }
  if (serverTime && !SetFileTime(part.get(), serverTime, serverTime, serverTime)) {
    status_ = kStatusLocalFailure;
    return 0;
  }
  if (!part.Commit(target)) {
    status_ = kStatusLocalFailure;
    return 0;
  }
  if (size) *size = received;
  Report(kFinished, -1.0);
  status_ = kStatusDone;
  return 1;
}

int HttpDownloader::CheckAndDownload(const wchar_t* url, const wchar_t* comparePath, const wchar_t* storePath) {
  if (!url || !*url) {
    status_ = kStatusLocalFailure;
    return 0;
  }
  FILETIME serverTime = {};
  std::uint64_t size = 0;
  if (CheckNewer(url, comparePath, &serverTime, &size) == 1) return Download(url, storePath, &serverTime, &size);
  // A cancelled proxy dialog stays 127, so that the run stops instead of
  // asking again for every later file. A check that could not complete is
  // a failure: nothing is known about the file.
  if (status_ == kStatusDone) status_ = kStatusNoDownload;
  else if (!proxyCancelled_) status_ = kStatusNewer;
  return 0;
}

}  // namespace qxu
