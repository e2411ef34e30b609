#include "trusted_test_ca.h"

#include <wincrypt.h>

#include <memory>

#include "test_support.h"

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

// Deletes every certificate named like `cert`: a run that ended abruptly
// leaves its CA behind, with the same name but another key.
void DeleteNamesakes(HCERTSTORE store, PCCERT_CONTEXT cert) {
  for (;;) {
    PCCERT_CONTEXT found = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_SUBJECT_NAME,
                                                      &cert->pCertInfo->Subject, nullptr);
    if (!found) return;
    if (!CertDeleteCertificateFromStore(found)) return;  // frees found in any case
  }
}

}  // namespace

TrustedTestCa::TrustedTestCa(const std::wstring& derPath) {
  if (derPath.empty() || !ReadBytes(derPath, &der_) || der_.empty()) return;
  CertHandle cert(CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der_.data()),
                                               static_cast<DWORD>(der_.size())));
  StoreHandle root = OpenUserRoot();
  if (!cert || !root) return;
  DeleteNamesakes(root.get(), cert.get());
  installed_ = CertAddCertificateContextToStore(root.get(), cert.get(), CERT_STORE_ADD_REPLACE_EXISTING, nullptr) !=
               FALSE;
}

TrustedTestCa::~TrustedTestCa() {
  if (!installed_) return;
  CertHandle cert(CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der_.data()),
                                               static_cast<DWORD>(der_.size())));
  StoreHandle root = OpenUserRoot();
  if (cert && root) DeleteNamesakes(root.get(), cert.get());
}
