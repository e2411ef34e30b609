#include "ui/about/core/os_name.h"

namespace qxu {
namespace {

OsKind VistaKind(ProductLookup lookup, std::uint32_t productType) {
  if (lookup == ProductLookup::Found) {
    switch (productType) {
      case 1: return OsKind::WindowsVistaUltimate;
      case 2: return OsKind::WindowsVistaHomeBasic;
      case 3: return OsKind::WindowsVistaHomePremium;
      case 4: return OsKind::WindowsVistaEnterprise;
      case 6: return OsKind::WindowsVistaBusiness;
      default: break;
    }
  }
  return OsKind::WindowsVista;
}

OsKind SevenKind(ProductLookup lookup, std::uint32_t productType) {
  if (lookup == ProductLookup::Found) {
    switch (productType) {
      case 1: return OsKind::Windows7Ultimate;
      case 3: return OsKind::Windows7HomePremium;
      case 4: return OsKind::Windows7Enterprise;
      case 11: return OsKind::Windows7Starter;
      case 48: return OsKind::Windows7Professional;
      default: break;
    }
  }
  return OsKind::Windows7;
}

OsKind EightKind(ProductLookup lookup, std::uint32_t productType) {
  if (lookup != ProductLookup::Found) return OsKind::Unknown;
  switch (productType) {
    case 48: return OsKind::Windows8Pro;
    case 103: return OsKind::Windows8MediaCenter;
    default: return OsKind::Windows8;
  }
}

}  // namespace

OsKind OsKindFromVersion(const OsVersionFacts& version, ProductLookup lookup,
                         std::uint32_t productType) {
  switch (version.major) {
    case 3:
      return OsKind::WindowsNT31;
    case 4:
      if (version.minor == 0)
        return version.platformId == kPlatformNt ? OsKind::WindowsNT : OsKind::Windows95;
      if (version.minor == 10) return OsKind::Windows98;
      if (version.minor == 90) return OsKind::WindowsMe;
      return OsKind::Unknown;
    case 5:
      if (version.minor == 0) return OsKind::Windows2000;
      if (version.minor == 1)
        return (version.suiteMask & kSuitePersonal) ? OsKind::WindowsXPHome
                                                    : OsKind::WindowsXPProfessional;
      if (version.minor == 2) return OsKind::WindowsServer2003;
      return OsKind::Unknown;
    case 6:
      if (lookup == ProductLookup::NoLibrary) return OsKind::Unknown;
      if (version.minor == 0) return VistaKind(lookup, productType);
      if (version.minor == 1) return SevenKind(lookup, productType);
      if (version.minor == 2) return EightKind(lookup, productType);
      return OsKind::Unknown;
    default:
      return OsKind::Unknown;
  }
}

const wchar_t* OsNameOfKind(OsKind kind) {
  switch (kind) {
    case OsKind::WindowsNT31: return L"Windows NT3.1";
    case OsKind::WindowsNT: return L"Windows NT";
    case OsKind::Windows95: return L"Windows 95";
    case OsKind::Windows98: return L"Windows 98";
    case OsKind::WindowsMe: return L"Windows Me";
    case OsKind::Windows2000: return L"Windows 2000";
    case OsKind::WindowsXPHome: return L"Windows XP Home Edition";
    case OsKind::WindowsXPProfessional: return L"Windows XP Professional Edition";
    case OsKind::WindowsServer2003: return L"Windows Server 2003";
    case OsKind::WindowsVistaUltimate: return L"Windows Vista Ultimate";
    case OsKind::WindowsVistaHomeBasic: return L"Windows Vista Home Basic";
    case OsKind::WindowsVistaHomePremium: return L"Windows Vista Home Premium";
    case OsKind::WindowsVistaEnterprise: return L"Windows Vista Enterprise";
    case OsKind::WindowsVistaBusiness: return L"Windows Vista Business";
    case OsKind::WindowsVista: return L"Windows Vista";
    case OsKind::Windows7Ultimate: return L"Windows 7 Ultimate";
    case OsKind::Windows7HomePremium: return L"Windows 7 Home Premium";
    case OsKind::Windows7Enterprise: return L"Windows 7 Enterprise";
    case OsKind::Windows7Starter: return L"Windows 7 Starter";
    case OsKind::Windows7Professional: return L"Windows 7 Professional";
    case OsKind::Windows7: return L"Windows 7";
    case OsKind::Windows8Pro: return L"Windows 8 Pro";
    case OsKind::Windows8MediaCenter: return L"Windows 8 with Media Center";
    case OsKind::Windows8: return L"Windows 8";
    case OsKind::Unknown: break;
  }
  return L"";
}

}  // namespace qxu
