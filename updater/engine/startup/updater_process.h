// The updater process from entry to exit: start-up and its roles in the
// self-update chain, the main phase, BeginRun and the clean-up.
#pragma once
#include <windows.h>

#include <string>

#include "engine/support/win32/resource_library.h"
#include "ui/identity/win32/program_identity.h"
#include "ui/settings/core/updater_settings.h"
#include "ui/settings/win32/settings_file.h"
#include "update_engine.h"

namespace qxu {

// Icons of the language resource library used by the windows and the tray.
class IconOwner {
 public:
  IconOwner() = default;
  ~IconOwner() { reset(); }
  IconOwner(const IconOwner&) = delete;
  IconOwner& operator=(const IconOwner&) = delete;
  HICON get() const { return icon_; }
  void reset(HICON icon = nullptr) {
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
  }

 private:
  HICON icon_ = nullptr;
};

struct AppIcons {
  IconOwner large;        // 10 at 32 by 32
  IconOwner small;        // 10 at 16 by 16
  IconOwner frames[4];    // 12, 13, 14, 15
  IconOwner checkEmpty;   // 20
  IconOwner checkTicked;  // 21
};

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

// The windows of a run: the hidden main window with its message loop and
// tray icon, and the run windows. The run-windows module provides it.
class UpdaterShell {
 public:
  virtual ~UpdaterShell() = default;
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
  AppIcons icons;
  UpdateEngine* engine = nullptr;
  UpdaterShell* shell = nullptr;
  const wchar_t* selfUpdateServer = L"";
  // Called once the identity exists, before the settings are loaded: the
  // windows' modules take what they need of the process here.
  void (*prepare)(UpdaterProcess& process) = nullptr;
  // The first-run questions' actions; the bare hooks when not set.
  FirstRunHooks (*firstRunHooks)() = nullptr;
};

// Process entry; always 0.
int RunUpdaterProcess(UpdaterProcess& p, const wchar_t* commandLine);

// Start-up sequence: 1 to go on into the main phase, 0 to end the process.
int StartUp(UpdaterProcess& p);
void MainPhase(UpdaterProcess& p);
// Options, items and the run window from the command line. Returns 1.
int BeginRun(UpdaterProcess& p, const wchar_t* commandLine);
void CleanUp(UpdaterProcess& p);

// The option fields that the setting file also carries.
SettingsOptionFields OptionFieldsOf(UpdaterOptions& o);

}  // namespace qxu
