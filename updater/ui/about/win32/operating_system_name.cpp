#include "ui/about/win32/operating_system_name.h"

#include "engine/support/core/owned_string.h"
#include "engine/support/win32/resource_library.h"
#include "engine/identity/win32/program_identity.h"

namespace qxu {
namespace {

using GetProductInfoFunction = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);

ProductLookup LookUpProductType(const OSVERSIONINFOEXW& version, DWORD* productType) {
  ModuleHandle kernel(LoadLibraryW(L"kernel32"));
  if (!kernel) return ProductLookup::NoLibrary;
  auto getProductInfo = reinterpret_cast<GetProductInfoFunction>(
      reinterpret_cast<void*>(GetProcAddress(kernel.get(), "GetProductInfo")));
  if (!getProductInfo) return ProductLookup::NoFunction;
  *productType = 0;
  getProductInfo(version.dwMajorVersion, version.dwMinorVersion, version.wServicePackMajor,
                 version.wServicePackMinor, productType);
  return ProductLookup::Found;
}

}  // namespace

OsKind DetermineOsKind(const OSVERSIONINFOEXW& version) {
  OsVersionFacts facts;
  facts.major = version.dwMajorVersion;
  facts.minor = version.dwMinorVersion;
  facts.platformId = version.dwPlatformId;
  facts.suiteMask = version.wSuiteMask;
  DWORD productType = 0;
  ProductLookup lookup = ProductLookup::Found;
  if (facts.major == 6) lookup = LookUpProductType(version, &productType);
  return OsKindFromVersion(facts, lookup, productType);
}

void FillOperatingSystemName(ProgramIdentity* identity) {
  if (!identity) return;
  const OsKind kind = DetermineOsKind(identity->osVersion);
  identity->osKind = static_cast<int>(kind);
  identity->osName = ReplaceString(identity->osName, OsNameOfKind(kind));
}

}  // namespace qxu
