// The version-6 rules look GetProductInfo up at run time in the platform's
// kernel32; the record itself is made up so that every row can be reached.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ui/about/win32/operating_system_name.h"
#include "engine/identity/win32/program_identity.h"

namespace qxu {
namespace {

std::wstring NameFor(DWORD major, DWORD minor, WORD suite = 0) {
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  version.dwMajorVersion = major;
  version.dwMinorVersion = minor;
  version.dwPlatformId = VER_PLATFORM_WIN32_NT;
  version.wSuiteMask = suite;
  return OsNameOfKind(DetermineOsKind(version));
}

TEST(OperatingSystemName, ProductInfoIsFoundInKernel32) {
  // Without the function 6.2 would have no name at all.
  EXPECT_EQ(0u, NameFor(6, 2).rfind(L"Windows 8", 0)) << NameFor(6, 2);
  EXPECT_EQ(0u, NameFor(6, 1).rfind(L"Windows 7", 0)) << NameFor(6, 1);
  EXPECT_EQ(0u, NameFor(6, 0).rfind(L"Windows Vista", 0)) << NameFor(6, 0);
  EXPECT_EQ(L"", NameFor(6, 3));
  EXPECT_EQ(L"Windows XP Home Edition", NameFor(5, 1, VER_SUITE_PERSONAL));
}

TEST(OperatingSystemName, FilledIntoTheIdentity) {
  IdentityOwner identity(CreateIdentity());
  ASSERT_TRUE(identity);
  identity->osVersion.dwMajorVersion = 5;
  identity->osVersion.dwMinorVersion = 0;
  FillOperatingSystemName(identity.get());
  ASSERT_TRUE(identity->osName);
  EXPECT_EQ(L"Windows 2000", std::wstring(identity->osName));
  EXPECT_EQ(static_cast<int>(OsKind::Windows2000), identity->osKind);

  identity->osVersion.dwMajorVersion = 10;
  FillOperatingSystemName(identity.get());
  EXPECT_EQ(nullptr, identity->osName);  // no rule: empty, stored as none
  EXPECT_EQ(static_cast<int>(OsKind::Unknown), identity->osKind);
}

}  // namespace
}  // namespace qxu
