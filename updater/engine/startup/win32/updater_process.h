// The updater process from entry to exit: start-up and its roles in the
// self-update chain, the main phase, BeginRun and the clean-up.
#pragma once
#include <windows.h>

#include <string>

#include "engine/support/win32/resource_library.h"
#include "engine/identity/win32/program_identity.h"
#include "engine/settings/core/updater_settings.h"
#include "engine/settings/win32/settings_file.h"
#include "engine/run/win32/update_session.h"

namespace qxu {

// COM for the main thread, released last of all.
class ComApartment {
 public:
  ComApartment() = default;
  ~ComApartment() { Release(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  void Initialize() { initialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
  void Release() {
    if (initialized_) CoUninitialize();
    initialized_ = false;
  }

 private:
  bool initialized_ = false;
};

struct UpdaterProcess;

// The windows and dialogs of the process, as the entry point composes them.
class UpdaterShell {
 public:
  virtual ~UpdaterShell() = default;
  // Once the identity exists, before the settings are loaded.
  virtual void Prepare(UpdaterProcess& process) = 0;
  // The first-run questions' actions for the settings load.
  virtual FirstRunHooks FirstRunActions() = 0;
  // Creates the hidden main window and runs the message loop until it ends.
  // Its start timer calls BeginRun (or shows the options dialog when the
  // command line is empty).
  virtual void RunMainWindow(UpdaterProcess& process) = 0;
  // Clean-up: run window, main window, tray icon (in that order).
  virtual void DestroyWindows() = 0;
  // Clean-up, after the downloader: the taskbar progress object.
  virtual void ReleaseTaskbar() = 0;
};

struct UpdaterProcess {
  std::wstring commandLine;
  ComApartment com;
  ModuleHandle resources;
  IdentityOwner identity;
  UpdaterSettings settings;
  SYSTEMTIME today = {};
  UpdateSession session;
  UpdaterShell* shell = nullptr;
  const wchar_t* selfUpdateServer = L"";
};

// Process entry; always 0.
int RunUpdaterProcess(UpdaterProcess& p, const wchar_t* commandLine);

// Start-up sequence: 1 to go on into the main phase, 0 to end the process.
int StartUp(UpdaterProcess& p);
void MainPhase(UpdaterProcess& p);
// Options, items and the run window from the command line. Returns 1.
int BeginRun(UpdaterProcess& p, const wchar_t* commandLine);
void CleanUp(UpdaterProcess& p);

}  // namespace qxu
