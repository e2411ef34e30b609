#pragma once
// What the run windows and the main window reach of the rest of the
// program: the resource library, the identity and settings records, fields
// of the options record, the item table and the work procedures. Filled once
// at start-up, before the main window is created.
#include <windows.h>

#include "ui/identity/win32/program_identity.h"
#include "ui/runwindows/core/saved_options.h"
#include "ui/settings/core/updater_settings.h"
#include "ui/settings/win32/settings_file.h"

namespace qxu {

struct WindowsBinding {
  HMODULE resources = nullptr;  // templates 102, 202 and the icons
  ProgramIdentity* identity = nullptr;
  UpdaterSettings* settings = nullptr;

  // Fields of the options record, read when they are needed.
  const int* silent = nullptr;
  const int* information = nullptr;
  const int* confirm = nullptr;
  const int* noRestart = nullptr;
  const int* deleteSetting = nullptr;
  int* ownUpdate = nullptr;
  const int* proxyUserUse = nullptr;
  wchar_t* const* proxyUser = nullptr;
  wchar_t* const* proxyPasswordScrambled = nullptr;
  wchar_t* const* restartProgram = nullptr;
  wchar_t* const* restartArguments = nullptr;
  wchar_t* const* settingFile = nullptr;  // first description file

  // The item table: count and the file name of item i.
  int (*itemCount)() = nullptr;
  const wchar_t* (*itemFileName)(int index) = nullptr;

  // Work of a run, started on worker threads.
  LPTHREAD_START_ROUTINE runItems = nullptr;
  LPTHREAD_START_ROUTINE checkPass = nullptr;
  LPTHREAD_START_ROUTINE downloadPass = nullptr;
  LPTHREAD_START_ROUTINE runSelfUpdate = nullptr;

  // Start of the work by the main window's first timer.
  const wchar_t* const* commandLine = nullptr;
  void (*beginRun)() = nullptr;
  INT_PTR (*showOptionsDialog)() = nullptr;  // modal, no owner
};

WindowsBinding& Binding();

// Keeps the options as the setting file left them, before the command line
// is applied; the run windows write these back when they save.
void RememberSavedOptions();

// Saves the setting file (without stamping) with the remembered options.
void SaveRunSettings();

int Flag(const int* field, int fallback = 0);
const wchar_t* Text(wchar_t* const* field);

}  // namespace qxu
