#include "ui/about/core/os_name.h"

#include <gtest/gtest.h>

#include <string>

namespace qxu {
namespace {

std::wstring Name(std::uint32_t major, std::uint32_t minor, ProductLookup lookup = ProductLookup::Found,
                  std::uint32_t product = 0, std::uint32_t platform = kPlatformNt,
                  std::uint16_t suite = 0) {
  OsVersionFacts facts;
  facts.major = major;
  facts.minor = minor;
  facts.platformId = platform;
  facts.suiteMask = suite;
  return OsNameOfKind(OsKindFromVersion(facts, lookup, product));
}

TEST(OsName, BeforeVersionSix) {
  EXPECT_EQ(L"Windows NT3.1", Name(3, 51));
  EXPECT_EQ(L"Windows NT", Name(4, 0, ProductLookup::Found, 0, 2));
  EXPECT_EQ(L"Windows 95", Name(4, 0, ProductLookup::Found, 0, 1));
  EXPECT_EQ(L"Windows 98", Name(4, 10, ProductLookup::Found, 0, 1));
  EXPECT_EQ(L"Windows Me", Name(4, 90, ProductLookup::Found, 0, 1));
  EXPECT_EQ(L"", Name(4, 20));
  EXPECT_EQ(L"Windows 2000", Name(5, 0));
  EXPECT_EQ(L"Windows Server 2003", Name(5, 2));
}

TEST(OsName, XpEditionFromThePersonalSuiteBit) {
  EXPECT_EQ(L"Windows XP Home Edition", Name(5, 1, ProductLookup::Found, 0, 2, 0x0200));
  EXPECT_EQ(L"Windows XP Home Edition", Name(5, 1, ProductLookup::Found, 0, 2, 0x0300));
  EXPECT_EQ(L"Windows XP Professional Edition", Name(5, 1, ProductLookup::Found, 0, 2, 0x0100));
  EXPECT_EQ(L"Windows XP Professional Edition", Name(5, 1));
}

TEST(OsName, VistaByProductType) {
  EXPECT_EQ(L"Windows Vista Ultimate", Name(6, 0, ProductLookup::Found, 1));
  EXPECT_EQ(L"Windows Vista Home Basic", Name(6, 0, ProductLookup::Found, 2));
  EXPECT_EQ(L"Windows Vista Home Premium", Name(6, 0, ProductLookup::Found, 3));
  EXPECT_EQ(L"Windows Vista Enterprise", Name(6, 0, ProductLookup::Found, 4));
  EXPECT_EQ(L"Windows Vista", Name(6, 0, ProductLookup::Found, 5));
  EXPECT_EQ(L"Windows Vista Business", Name(6, 0, ProductLookup::Found, 6));
  EXPECT_EQ(L"Windows Vista", Name(6, 0, ProductLookup::NoFunction, 1));
}

TEST(OsName, SevenByProductType) {
  EXPECT_EQ(L"Windows 7 Ultimate", Name(6, 1, ProductLookup::Found, 1));
  EXPECT_EQ(L"Windows 7", Name(6, 1, ProductLookup::Found, 2));
  EXPECT_EQ(L"Windows 7 Home Premium", Name(6, 1, ProductLookup::Found, 3));
  EXPECT_EQ(L"Windows 7 Enterprise", Name(6, 1, ProductLookup::Found, 4));
  EXPECT_EQ(L"Windows 7 Starter", Name(6, 1, ProductLookup::Found, 11));
  EXPECT_EQ(L"Windows 7 Professional", Name(6, 1, ProductLookup::Found, 48));
  EXPECT_EQ(L"Windows 7", Name(6, 1, ProductLookup::NoFunction, 48));
}

TEST(OsName, EightNeedsTheProductFunction) {
  EXPECT_EQ(L"Windows 8 Pro", Name(6, 2, ProductLookup::Found, 48));
  EXPECT_EQ(L"Windows 8 with Media Center", Name(6, 2, ProductLookup::Found, 103));
  EXPECT_EQ(L"Windows 8", Name(6, 2, ProductLookup::Found, 1));
  EXPECT_EQ(L"", Name(6, 2, ProductLookup::NoFunction, 48));
}

TEST(OsName, NoKernelLibraryGivesNoVersionSixName) {
  EXPECT_EQ(L"", Name(6, 0, ProductLookup::NoLibrary));
  EXPECT_EQ(L"", Name(6, 1, ProductLookup::NoLibrary));
  EXPECT_EQ(L"Windows 2000", Name(5, 0, ProductLookup::NoLibrary));
}

TEST(OsName, LaterVersionsAndAFailedQueryAreUnnamed) {
  EXPECT_EQ(L"", Name(6, 3, ProductLookup::Found, 48));
  EXPECT_EQ(L"", Name(10, 0, ProductLookup::Found, 48));
  EXPECT_EQ(L"", Name(0, 0));
  EXPECT_EQ(OsKind::Unknown, OsKindFromVersion(OsVersionFacts{}, ProductLookup::Found, 0));
}

}  // namespace
}  // namespace qxu
