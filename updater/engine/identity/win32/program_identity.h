#pragma once
// The updater's identity record: names, version, paths, and the caches of the
// version text and of the setting-file path. One per process, made at start-up.
#include <windows.h>

#include <memory>

namespace qxu {

struct ProgramIdentity {
  // Operating system: the version record is read at creation; the kind and
  // the name are filled with the about box.
  int osKind = 0;
  OSVERSIONINFOEXW osVersion{};
  wchar_t* osName = nullptr;

  wchar_t* programName = nullptr;  // "QxUpdate": message box caption, section name
  wchar_t* description = nullptr;
  wchar_t* seriesKey = nullptr;  // "QxSeries QxUpdate": window class, legacy section
  unsigned long versionNumber = 0;  // version times 100
  long minorNumber = 0;
  long buildNumber = 0;
  wchar_t* copyrightHolder = nullptr;
  wchar_t* copyrightYears = nullptr;
  wchar_t* releaseDate = nullptr;
  wchar_t* webAddress = nullptr;

  wchar_t* programPath = nullptr;    // full path of the program file
  wchar_t* programFolder = nullptr;  // drive and folder, ending in "\"
  wchar_t* baseName = nullptr;       // file name without extension
  wchar_t* startFolder = nullptr;    // current folder at creation
  wchar_t* appDataFolder = nullptr;  // roaming application data, or none

  wchar_t* versionText = nullptr;      // cache, rebuilt on every request
  wchar_t* settingFilePath = nullptr;  // cache, fixed by the first request

  // Compiled help, started by the options dialog and ended at clean-up.
  int helpStarted = 0;
  DWORD_PTR helpCookie = 0;
};

// Fixed identity values of QxUpdate.
inline constexpr wchar_t kProgramName[] = L"QxUpdate";
inline constexpr wchar_t kProgramDescription[] = L"アップデートソフト QxUpdate";
inline constexpr wchar_t kSeriesKey[] = L"QxSeries QxUpdate";
inline constexpr unsigned long kVersionNumber = 110;
inline constexpr long kMinorNumber = 1;
inline constexpr long kBuildNumber = 0;
inline constexpr wchar_t kCopyrightHolder[] = L"Qx Desktop Works";
inline constexpr wchar_t kCopyrightYears[] = L"2002-2013";
inline constexpr wchar_t kReleaseDate[] = L"11/06/2013";
inline constexpr wchar_t kDefaultWebAddress[] = L"https://www.qxseries.example/qxupdate/";
// Caption of message boxes when there is no identity record.
inline constexpr wchar_t kFallbackCaption[] = L"QxSeries";

// New record with the paths filled; none when memory runs out.
ProgramIdentity* CreateIdentity();
void DestroyIdentity(ProgramIdentity* identity);

struct IdentityDeleter {
  void operator()(ProgramIdentity* identity) const { DestroyIdentity(identity); }
};
using IdentityOwner = std::unique_ptr<ProgramIdentity, IdentityDeleter>;

// Copies the set-up values (webAddress
// none: kDefaultWebAddress). Returns 1.
int SetIdentity(ProgramIdentity* identity, const wchar_t* programName,
                const wchar_t* description, const wchar_t* seriesKey,
                unsigned long versionNumber, long minorNumber, long buildNumber,
                const wchar_t* copyrightHolder, const wchar_t* copyrightYears,
                const wchar_t* releaseDate, const wchar_t* webAddress);

// SetIdentity with the fixed values above.
int SetQxUpdateIdentity(ProgramIdentity* identity);

// The version text, owned by the record and valid until the next call.
const wchar_t* GetVersionText(ProgramIdentity* identity);

// Sets the window's title to "<program name> <version text>". Returns 1.
int SetProgramTitle(ProgramIdentity* identity, HWND window);

// The caption of every message box: the program name, or "QxSeries".
const wchar_t* MessageCaption(const ProgramIdentity* identity);

}  // namespace qxu
