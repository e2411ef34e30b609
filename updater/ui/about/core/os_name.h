#pragma once
// The operating system's name for the about box: first the kind from the
// version record (and, for version 6, the product type), then its name.
#include <cstdint>

namespace qxu {

enum class OsKind : int {
  Unknown = 0,
  WindowsNT31,
  WindowsNT,
  Windows95,
  Windows98,
  WindowsMe,
  Windows2000,
  WindowsXPHome,
  WindowsXPProfessional,
  WindowsServer2003,
  WindowsVistaUltimate,
  WindowsVistaHomeBasic,
  WindowsVistaHomePremium,
  WindowsVistaEnterprise,
  WindowsVistaBusiness,
  WindowsVista,
  Windows7Ultimate,
  Windows7HomePremium,
  Windows7Enterprise,
  Windows7Starter,
  Windows7Professional,
  Windows7,
  Windows8Pro,
  Windows8MediaCenter,
  Windows8,
};

// What the product-type lookup of version 6 came to.
enum class ProductLookup {
  NoLibrary,   // kernel32 could not be loaded
  NoFunction,  // GetProductInfo is missing
  Found,
};

// The fields of the platform's extended version record that the rules read.
struct OsVersionFacts {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t platformId = 0;
  std::uint16_t suiteMask = 0;
};

inline constexpr std::uint32_t kPlatformNt = 2;
inline constexpr std::uint16_t kSuitePersonal = 0x0200;

// The kind; productType is read only when lookup is Found.
OsKind OsKindFromVersion(const OsVersionFacts& version, ProductLookup lookup,
                         std::uint32_t productType);

// The name of a kind; the empty text for Unknown.
const wchar_t* OsNameOfKind(OsKind kind);

}  // namespace qxu
