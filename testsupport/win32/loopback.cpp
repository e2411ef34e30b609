#include "loopback.h"

#include <wincrypt.h>

#include <cstdlib>
#include <memory>

#include "files.h"

namespace qxtest {

int ServerPort(const char* variable) {
  const char* value = std::getenv(variable);
  return value ? std::atoi(value) : 0;
}

std::wstring ServerPath(const char* variable) {
  const char* value = std::getenv(variable);
  return value ? Widen(value, CP_UTF8) : std::wstring();
}

bool ServersRunning() { return ServerPort("QX_TEST_HTTP_PORT") != 0 && !ServerPath("QX_TEST_DOCROOT").empty(); }

std::wstring HttpUrl(const std::wstring& pathAndMode) {
  return L"http://127.0.0.1:" + std::to_wstring(ServerPort("QX_TEST_HTTP_PORT")) + L"/" + pathAndMode;
}

std::wstring HttpsUrl(const std::wstring& pathAndMode, const wchar_t* scheme) {
  // Wine matches no IP literals against certificates: the name it is for.
  return std::wstring(scheme) + L"://localhost:" + std::to_wstring(ServerPort("QX_TEST_HTTPS_PORT")) + L"/" +
         pathAndMode;
}

std::wstring FtpUrl(const std::wstring& path) {
  return L"ftp://127.0.0.1:" + std::to_wstring(ServerPort("QX_TEST_FTP_PORT")) + L"/" + path;
}

ServedFile::ServedFile(const std::wstring& name, const std::string& bytes, const FILETIME* lastWrite)
    : name_(name), path_(ServerPath("QX_TEST_DOCROOT") + L"\\" + name) {
  WriteBytes(path_, bytes, lastWrite);
}

ServedFile::~ServedFile() { DeleteFileW(path_.c_str()); }

namespace {

struct StoreCloser {
  void operator()(void* store) const { CertCloseStore(store, 0); }
};
using StoreHandle = std::unique_ptr<void, StoreCloser>;

struct CertFreer {
  void operator()(const CERT_CONTEXT* cert) const { CertFreeCertificateContext(cert); }
};
using CertHandle = std::unique_ptr<const CERT_CONTEXT, CertFreer>;

// The registry part of the user's Root store, opened alone: Wine 8.0 loses
// a deletion made through the combined system store.
StoreHandle OpenUserRoot() {
  return StoreHandle(
      CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root"));
}

// Deletes every certificate named like cert: a run that ended abruptly
// leaves its CA behind, with the same name but another key.
void DeleteNamesakes(HCERTSTORE store, PCCERT_CONTEXT cert) {
  for (;;) {
    PCCERT_CONTEXT found = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_SUBJECT_NAME,
                                                      &cert->pCertInfo->Subject, nullptr);
    if (!found || !CertDeleteCertificateFromStore(found)) return;  // the call frees found in any case
  }
}

CertHandle Certificate(const std::string& der) {
  return CertHandle(CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                 static_cast<DWORD>(der.size())));
}

}  // namespace

TrustedTestCa::TrustedTestCa() {
  const std::wstring path = ServerPath("QX_TEST_CA");
  if (path.empty() || !ReadBytes(path, &der_) || der_.empty()) return;
  CertHandle cert = Certificate(der_);
  StoreHandle root = OpenUserRoot();
  if (!cert || !root) return;
  DeleteNamesakes(root.get(), cert.get());
  installed_ = CertAddCertificateContextToStore(root.get(), cert.get(), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
}

TrustedTestCa::~TrustedTestCa() {
  if (!installed_) return;
  CertHandle cert = Certificate(der_);
  StoreHandle root = OpenUserRoot();
  if (cert && root) DeleteNamesakes(root.get(), cert.get());
}

}  // namespace qxtest
