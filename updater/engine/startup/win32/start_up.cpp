#include <windows.h>
#include <shellapi.h>

#include <clocale>
#include <cwctype>

#include "engine/startup/win32/chain_files.h"
#include "engine/startup/win32/updater_process.h"
#include "engine/run/win32/update_run.h"

namespace qxu {

namespace {

std::wstring ShortLower(const wchar_t* name) {
  wchar_t shortName[MAX_PATH];
  const DWORD n = GetShortPathNameW(name, shortName, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::wstring();
  std::wstring s = shortName;
  for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

// Own name and "QxUpdateNew.exe", both as short names in the current folder.
bool StartedAsNewCopy(const std::wstring& programPath) {
  const std::size_t cut = programPath.find_last_of(L"\\/");
  const std::wstring own = cut == std::wstring::npos ? programPath : programPath.substr(cut + 1);
  const std::wstring a = ShortLower(own.c_str());
  const std::wstring b = ShortLower(kNewCopyName);
  return !a.empty() && !b.empty() && a == b;
}

void OpenProgram(const std::wstring& path, const wchar_t* parameters, const wchar_t* folder) {
  ShellExecuteW(nullptr, L"open", path.c_str(), parameters, folder, SW_SHOWNORMAL);
}

// 1 for a normal start that goes on, 0 when this start ends the process.
FirstRunHooks FirstRunActions(UpdaterProcess& p) {
  return p.shell ? p.shell->FirstRunActions() : DefaultFirstRunHooks();
}

int DecideRole(UpdaterProcess& p) {
  UpdateSession& e = p.session;
  if (StartedAsNewCopy(e.programPath)) {
    // Process 3 of the chain: replace the old program with this copy. When
    // that never succeeds the old program stays, and the start that follows
    // still removes this copy.
    const std::wstring target = e.programFolder + L"QxUpdate.exe";
    if (ReplaceProgram(e.programPath, target)) {
      Sleep(1000);
      SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_ARCHIVE);
      Sleep(1000);
    }
    OpenProgram(target, nullptr, e.programFolder.c_str());
    return 0;
  }
  const std::wstring marker = e.programPath + L".qxupdate";
  if (FileExists(marker)) DeleteLoop(marker);
  const std::wstring newCopy = e.programFolder + kNewCopyName;
  if (!FileExists(newCopy)) {
    LoadUpdaterSettings(p.identity.get(), &p.settings, e.options, FirstRunActions(p));
    return 1;
  }
  // Process 4: the copy has done its work; remove it once it has ended.
  // The self-update counts as checked only once the new program is in
  // place, so that a failed replacement is tried again at the next run.
  const bool replaced = SameFileContent(e.programPath, newCopy);
  DeleteLoop(newCopy);
  const wchar_t* settingsPath = GetSettingFilePath(p.identity.get(), 1);
  if (replaced && settingsPath && FileExists(settingsPath)) {
    LoadUpdaterSettings(p.identity.get(), &p.settings, e.options, FirstRunActions(p));
    SaveUpdaterSettings(p.identity.get(), &p.settings, e.options, 1);
  }
  return 0;
}

}  // namespace

int StartUp(UpdaterProcess& p) {
  p.com.Initialize();
  p.resources.reset(LoadLanguageResourceLibrary());
  if (!p.resources) return 0;  // nothing to show anything with: end silently

  p.identity.reset(CreateIdentity());
  UpdateSession& e = p.session;
  e.identity = p.identity.get();
  if (p.identity) {
    SetQxUpdateIdentity(p.identity.get());
    if (p.identity->programPath) e.programPath = p.identity->programPath;
    if (p.identity->programFolder) e.programFolder = p.identity->programFolder;
    if (p.identity->startFolder) e.startFolder = p.identity->startFolder;
  }
  if (p.shell) p.shell->Prepare(p);

  GetLocalTime(&p.today);
  return DecideRole(p);
}

void MainPhase(UpdaterProcess& p) {
  UpdateSession& e = p.session;
  if (p.commandLine == L"-ou" || p.commandLine == L"--own-update") {
    e.windows = nullptr;
    e.stampLastCheck = [&p] {
      // A newer copy was stored: the start after its replacement stamps.
      if (p.session.run.updatedCount > 0) return;
      SaveUpdaterSettings(p.identity.get(), &p.settings, p.session.options, 1);
    };
    RunSelfUpdate(e, p.selfUpdateServer);
    const std::wstring newCopy = e.programFolder + kNewCopyName;
    if (FileExists(newCopy))
      OpenProgram(newCopy, nullptr, e.programFolder.c_str());
    return;
  }
  if (p.shell) p.shell->RunMainWindow(p);
  if (e.options.ownUpdate) OpenProgram(e.programPath, L"--own-update", nullptr);
}

void CleanUp(UpdaterProcess& p) {
  UpdateSession& e = p.session;
  e.items.clear();
  if (p.shell) p.shell->DestroyWindows();
  e.downloader.reset();
  if (p.shell) p.shell->ReleaseTaskbar();
  p.com.Release();
}

int RunUpdaterProcess(UpdaterProcess& p, const wchar_t* commandLine) {
  setlocale(LC_ALL, "jpn");
  p.commandLine = commandLine ? commandLine : L"";
  if (StartUp(p) == 1) MainPhase(p);
  CleanUp(p);
  return 0;
}

}  // namespace qxu
